// One of the 27 sub-cubes: a scene node with its own six-buffer mesh, one face material per
// buffer, the turn angles that layer turns accumulate, its exact orientation and its selection
// colour. The node owns its materials and its mesh (the mesh holds the six buffers); the scene
// graph owns the node. The template vertices are never scaled or recoloured.
#ifndef ZARNEL_C_SUBCUBE_SCENE_NODE_H
#define ZARNEL_C_SUBCUBE_SCENE_NODE_H

#include <irrlicht.h>
#include "SOrientation.h"

//! Engine type id of a sub-cube: the letters c, u, b, e, first in the lowest byte.
const irr::u32 SubcubeTypeId = MAKE_IRR_ID('c', 'u', 'b', 'e');

//! Vertex colours of a sub-cube in its two selection states.
const irr::u32 SubcubeNormalColor = 0xFFFFFFFF;
const irr::u32 SubcubeSelectedColor = 0x329B9B9B;

//! The 36 indices of the six faces, six per buffer, wound so that every face points outwards.
extern const irr::u16 FaceIndexTable[36];

class CSubcubeSceneNode : public irr::scene::IMeshSceneNode
{
public:
	//! Builds the six face buffers of a cube of edge size, centred on the node's origin.
	CSubcubeSceneNode(irr::f32 size, const irr::video::SMaterial* faceMaterials,
		irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager, irr::s32 id,
		const irr::core::vector3df& position, const irr::core::vector3df& rotation,
		const irr::core::vector3df& scale);

	//! Registers the node for the automatic pass when visible, then its children.
	void OnRegisterSceneNode() override;
	//! Draws the six faces, each with its own material.
	void render() override;
	//! The box of the mesh in node space.
	const irr::core::aabbox3d<irr::f32>& getBoundingBox() const override;
	//! Face material i; an index of 6 or more answers material 0.
	irr::video::SMaterial& getMaterial(irr::u32 i) override;
	//! 1: generic engine code sees face material 0 only.
	irr::u32 getMaterialCount() const override;
	//! SubcubeTypeId.
	irr::scene::ESCENE_NODE_TYPE getType() const override;
	//! Ignored: the mesh cannot be replaced.
	void setMesh(irr::scene::IMesh* mesh) override;
	//! The node's own mesh (not to be dropped).
	irr::scene::IMesh* getMesh() override;
	//! A sub-cube casts no shadow: no shadow volume node is made.
	irr::scene::IShadowVolumeSceneNode* addShadowVolumeSceneNode(
		const irr::scene::IMesh* shadowMesh = 0, irr::s32 id = -1, bool zfailmethod = true,
		irr::f32 infinity = 1000.0f) override;
	//! Ignored.
	void setReadOnlyMaterials(bool readonly) override;
	//! false.
	bool isReadOnlyMaterials() const override;

	//! Colours the sub-cube in selectedNode as selected. The caller checks it is a sub-cube.
	static void highlightSelected();
	//! Colours the sub-cube in selectedNode as normal. The caller checks it is a sub-cube.
	static void unhighlightSelected();

	//! Writes colour into all 72 vertices of the six buffers (never into the template).
	void setVertexColor(irr::video::SColor colour);

	irr::s32 AngleX;
	irr::s32 AngleY;
	irr::s32 AngleZ;
	irr::core::aabbox3df Box;
	irr::video::S3DVertex Vertices[12];
	irr::video::SMaterial Materials[6];
	irr::f32 Size;
	irr::video::SColor VertexColor;
	irr::scene::SMesh Mesh;
	//! The exact rotation the layer turns have given this sub-cube (the solved test reads it).
	SOrientation Orientation;
};

//! The node as a sub-cube, or 0 when it is null or of another type.
CSubcubeSceneNode* asSubcube(irr::scene::ISceneNode* node);

#endif
