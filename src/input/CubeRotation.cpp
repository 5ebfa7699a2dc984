// The whole-cube rotation; see CubeRotation.h. rootPivot holds the latest delta, cubePivot the
// accumulated orientation re-derived from the matrix product at every call.
#include "CubeRotation.h"
#include "app/AppState.h"
#include "cube/CubeModel.h"

using namespace irr;

void rotateCube(core::vector3df delta)
{
	cube->rootPivot->setRotation(delta);
	const core::matrix4 m =
		cube->rootPivot->getRelativeTransformation() * cube->cubePivot->getRelativeTransformation();
	cube->cubePivot->setRotation(m.getRotationDegrees());
}
