// What the FreeType oracle leaves out: fonts without a usable face (missing or broken files) or
// environment, refused binds, and that a font cannot be copied.
#include "FontFixture.h"
#include <random>
#include <type_traits>
#include <unistd.h>

using namespace irr;

namespace
{
class Metrics : public FontTest
{
protected:
	void SetUp() override
	{
		FontTest::SetUp();
		font = fontFor(GameFontPath, 20);
		ASSERT_NE(font->face, nullptr);
	}

	void TearDown() override
	{
		FontTest::TearDown();
		for (const std::string& name : created)
			unlink(name.c_str());
	}

	std::string tempFile(const std::string& bytes)
	{
		char name[] = "/tmp/zarnel-font-XXXXXX";
		const int fd = mkstemp(name);
		EXPECT_EQ(write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size());
		close(fd);
		created.push_back(name);
		return name;
	}

	gui::CGUITTFont* font = nullptr;
	std::vector<std::string> created;
};
}

static_assert(!std::is_copy_constructible<gui::CGUITTFont>::value && !std::is_copy_assignable<gui::CGUITTFont>::value,
	"a copied font would destroy its glyph records twice");

TEST_F(Metrics, AFontWithoutAUsableFaceMeasuresAndDrawsWithTheBuiltInFont)
{
	// A missing file, an empty one, noise, and noise behind a TrueType header: none may crash or
	// read outside FreeType's buffers (this suite runs under AddressSanitizer).
	std::mt19937 random(5);
	std::string noise(4096, '\0');
	for (char& c : noise)
		c = (char)(random() & 0xFF);
	gui::IGUIFont* builtIn = env->getBuiltInFont();
	const core::rect<s32> clip(0, 0, 40, 40);
	for (const std::string& path : {std::string("media/no-such-font.ttf"), tempFile(""), tempFile(noise),
			 tempFile(std::string("true\x00\x01\x00\x00", 8) + noise)})
	{
		gui::CGUITTFont* unbound = unboundFont();
		EXPECT_FALSE(unbound->bindFace(openFace(path.c_str()), 20));
		EXPECT_EQ(unbound->face, nullptr);
		EXPECT_EQ(unbound->getDimension(L"Hello"), builtIn->getDimension(L"Hello"));
		EXPECT_EQ(unbound->getCharacterFromPos(L"Hello", 3), builtIn->getCharacterFromPos(L"Hello", 3));
		unbound->draw(L"Hello", core::rect<s32>(0, 0, 100, 20), video::SColor(0xFFFFFFFF), true, true, &clip);
		EXPECT_EQ(unbound->glyphFor(L'H'), 0u);
		unbound->setKerningWidth(7);
		EXPECT_EQ(unbound->getKerningWidth(L"V", L"A"), 7);
	}
}

TEST_F(Metrics, ARefusedBindKeepsTheFontAsItWas)
{
	gui::CGUITTFace* bound = font->face;
	const u32 records = font->glyphs.size();
	const core::dimension2d<u32> measured = font->getDimension(L"AV");
	EXPECT_FALSE(font->bindFace(openFace("media/no-such-font.ttf"), 15));
	// No size, 26.6 sizes that wrap 32 bits (to 0 and to 20 pixels), a sign overflow, more
	// pixels per em than FreeType takes, and a size the bitmap font has no strike for.
	for (u32 size : {0u, 1u << 26, (1u << 26) + 20, 1u << 31, 65536u})
		EXPECT_FALSE(font->bindFace(openFace(GameFontPath), size)) << size;
	EXPECT_FALSE(font->bindFace(openFace(ZARNEL_PCF_FONT), 15));
	EXPECT_EQ(font->face, bound);
	EXPECT_EQ(font->getPixelSize(), 20u);
	EXPECT_EQ(font->glyphs.size(), records);
	EXPECT_EQ(font->advanceOf((wchar_t)0xE123), 20);
	EXPECT_EQ(font->getDimension(L"AV"), measured);
}

TEST_F(Metrics, AFontWithoutAnEnvironmentDrawsNothingAndBindsNothing)
{
	gui::CGUITTFont orphan(nullptr);
	EXPECT_EQ(orphan.videoDriver, nullptr);
	EXPECT_FALSE(orphan.bindFace(font->face, 20));
	orphan.draw(L"nothing", core::rect<s32>(0, 0, 10, 10), video::SColor(0xFFFFFFFF));
	EXPECT_EQ(orphan.getDimension(L"nothing"), core::dimension2d<u32>(0, 0));
}
