// Exact lattice rotations; see SOrientation.h.
#include "SOrientation.h"

using namespace irr;

SOrientation::SOrientation()
{
	for (s32 i = 0; i < 9; ++i)
		M[i] = (i % 4 == 0) ? 1 : 0;
}

void SOrientation::turn(s32 axis, s32 quarterTurns)
{
	if (axis < 0 || axis > 2)
		return;
	// One positive quarter turn about the axis; a negative count is three positive ones.
	s32 steps = ((quarterTurns % 4) + 4) % 4;
	const s32 a = (axis + 1) % 3;
	const s32 b = (axis + 2) % 3;
	for (s32 s = 0; s < steps; ++s)
	{
		// Rotating +90 about the axis sends axis a to axis b and b to -a, so row b takes row a
		// and row a takes minus row b.
		for (s32 c = 0; c < 3; ++c)
		{
			const s32 oldA = M[3 * a + c];
			M[3 * a + c] = -M[3 * b + c];
			M[3 * b + c] = oldA;
		}
	}
}

core::vector3d<s32> SOrientation::apply(const core::vector3d<s32>& v) const
{
	return core::vector3d<s32>(M[0] * v.X + M[1] * v.Y + M[2] * v.Z,
		M[3] * v.X + M[4] * v.Y + M[5] * v.Z,
		M[6] * v.X + M[7] * v.Y + M[8] * v.Z);
}

bool SOrientation::operator==(const SOrientation& other) const
{
	for (s32 i = 0; i < 9; ++i)
		if (M[i] != other.M[i])
			return false;
	return true;
}
