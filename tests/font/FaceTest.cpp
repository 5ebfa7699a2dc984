// The face's lifetime and the class-wide FreeType library.
#include "FontFixture.h"

using namespace irr;
using gui::CGUITTFace;

TEST(Face, TwoFacesShareOneLibraryThatTheLastOneReleases)
{
	{
		CGUITTFace first;
		ASSERT_TRUE(first.loadFile(GameFontPath));
		{
			CGUITTFace second;
			ASSERT_TRUE(second.loadFile(GameFontPath));
			EXPECT_EQ(CGUITTFace::loadedFaceCount, 2);
			EXPECT_NE(first.ftFace, second.ftFace);
		}
		EXPECT_EQ(CGUITTFace::loadedFaceCount, 1);
		EXPECT_TRUE(CGUITTFace::sharedLibraryReady);
	}
	EXPECT_EQ(CGUITTFace::loadedFaceCount, 0);
	EXPECT_FALSE(CGUITTFace::sharedLibraryReady);

	CGUITTFace later;
	EXPECT_TRUE(later.loadFile(GameFontPath));
	EXPECT_TRUE(CGUITTFace::sharedLibraryReady);
	EXPECT_EQ(CGUITTFace::loadedFaceCount, 1);
}

TEST(Face, AMissingFileLeavesTheFaceUnloaded)
{
	CGUITTFace face;
	EXPECT_FALSE(face.loadFile("media/no-such-font.ttf"));
	EXPECT_FALSE(face.isLoaded);
	EXPECT_EQ(face.ftFace, nullptr);
	EXPECT_EQ(CGUITTFace::loadedFaceCount, 0);
}

TEST(Face, ASecondLoadReleasesTheFirstFace)
{
	CGUITTFace face;
	ASSERT_TRUE(face.loadFile(GameFontPath));
	ASSERT_TRUE(face.loadFile(ZARNEL_OTF_FONT));
	EXPECT_EQ(CGUITTFace::loadedFaceCount, 1);
	EXPECT_FALSE(face.loadFile("media/no-such-font.ttf"));
	EXPECT_EQ(CGUITTFace::loadedFaceCount, 0);
	EXPECT_FALSE(face.isLoaded);
}
