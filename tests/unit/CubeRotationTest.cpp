// The whole-cube rotation through the two pivots.
#include "CSubcubeSceneNode.h"
#include "CubeModel.h"
#include "CubeRotation.h"
#include "NullDeviceTest.h"

using namespace irr;

namespace
{
class CubeRotation : public NullDeviceTest
{
protected:
	void SetUp() override
	{
		NullDeviceTest::SetUp();
		buildCubeAndCamera();
	}

	// Angle about Y that a matrix turns +Z by, in degrees (0..360).
	static f32 yawOf(const core::matrix4& m)
	{
		core::vector3df forward(0, 0, 1);
		m.rotateVect(forward);
		f32 degrees = atan2f(forward.X, forward.Z) * core::RADTODEG;
		return degrees < 0 ? degrees + 360 : degrees;
	}

	f32 storedYaw() const { return yawOf(cube->cubePivot->getRelativeTransformation()); }
	f32 shownYaw() const
	{
		return yawOf(cube->rootPivot->getRelativeTransformation() * cube->cubePivot->getRelativeTransformation());
	}
};
}

TEST_F(CubeRotation, ShowsTheLatestDeltaTwiceUntilTheNextCall)
{
	rotateCube(core::vector3df(0, 10, 0));
	EXPECT_NEAR(storedYaw(), 10, 0.01);
	EXPECT_NEAR(shownYaw(), 20, 0.01);
	rotateCube(core::vector3df(0, 10, 0));
	EXPECT_NEAR(storedYaw(), 20, 0.01);
	EXPECT_NEAR(shownYaw(), 30, 0.01);
	rotateCube(core::vector3df(0, 0, 0));
	EXPECT_NEAR(storedYaw(), 20, 0.01);
	EXPECT_NEAR(shownYaw(), 20, 0.01);
}

TEST_F(CubeRotation, StoresEulerAnglesBetweenZeroAndThreeSixty)
{
	rotateCube(core::vector3df(-30, -45, -10));
	const core::vector3df r = cube->cubePivot->getRotation();
	EXPECT_TRUE(r.X >= 0 && r.X <= 360 && r.Y >= 0 && r.Y <= 360 && r.Z >= 0 && r.Z <= 360)
		<< r.X << " " << r.Y << " " << r.Z;
	EXPECT_TRUE(cube->cubePivot->getPosition().equals(core::vector3df(0, 0, 0)));
}

TEST_F(CubeRotation, TouchesNeitherTheSubcubesNorTheGrid)
{
	const core::vector3df before = cube->subcubes[5]->getPosition();
	rotateCube(core::vector3df(12, 34, 56));
	EXPECT_TRUE(cube->subcubes[5]->getPosition().equals(before));
	EXPECT_EQ(cube->grid[5], 5);
}
