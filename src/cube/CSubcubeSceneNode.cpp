// The sub-cube node: mesh built once at construction, registration only while visible, material
// and world transform set before each face is drawn. See CSubcubeSceneNode.h.
#include "CSubcubeSceneNode.h"
#include "app/AppState.h"

using namespace irr;

const u16 FaceIndexTable[36] = {
	0, 2, 1, 0, 3, 2,     // -Z
	1, 5, 4, 1, 2, 5,     // +X
	4, 6, 7, 4, 5, 6,     // +Z
	7, 3, 0, 7, 6, 3,     // -X
	9, 5, 2, 9, 8, 5,     // +Y
	0, 11, 10, 0, 10, 7   // -Y
};

namespace
{
// The unit template: edge 1, centred on the origin; normals are the unnormalised corner directions.
const f32 TemplateTable[12][5] = {
	// x, y, z, u, v
	{-0.5f, -0.5f, -0.5f, 0, 1}, {0.5f, -0.5f, -0.5f, 1, 1},
	{0.5f, 0.5f, -0.5f, 1, 0}, {-0.5f, 0.5f, -0.5f, 0, 0},
	{0.5f, -0.5f, 0.5f, 0, 1}, {0.5f, 0.5f, 0.5f, 0, 0},
	{-0.5f, 0.5f, 0.5f, 1, 0}, {-0.5f, -0.5f, 0.5f, 1, 1},
	{-0.5f, 0.5f, 0.5f, 0, 1}, {-0.5f, 0.5f, -0.5f, 1, 1},
	{0.5f, -0.5f, 0.5f, 1, 0}, {0.5f, -0.5f, -0.5f, 0, 0}
};
}

CSubcubeSceneNode::CSubcubeSceneNode(f32 size, const video::SMaterial* faceMaterials,
	scene::ISceneNode* parent, scene::ISceneManager* manager, s32 id,
	const core::vector3df& position, const core::vector3df& rotation,
	const core::vector3df& scale)
	: scene::IMeshSceneNode(parent, manager, id, position, rotation, scale),
	  AngleX(0), AngleY(0), AngleZ(0), Size(size), VertexColor(SubcubeNormalColor)
{
	for (u32 k = 0; k < 6; ++k)
		Materials[k] = faceMaterials[k];
	for (u32 v = 0; v < 12; ++v)
	{
		const f32* t = TemplateTable[v];
		const core::vector3df corner(t[0], t[1], t[2]);
		Vertices[v] = video::S3DVertex(corner, corner * 2.0f, VertexColor,
			core::vector2df(t[3], t[4]));
	}

	Box.reset(0, 0, 0);
	for (u32 k = 0; k < 6; ++k)
	{
		scene::SMeshBuffer* buffer = new scene::SMeshBuffer();
		Mesh.addMeshBuffer(buffer);
		buffer->drop(); // the mesh holds the buffer from here on
		buffer->Indices.reallocate(6);
		for (u32 i = 0; i < 6; ++i)
			buffer->Indices.push_back(FaceIndexTable[6 * k + i]);
		buffer->Vertices.reallocate(12);
		buffer->BoundingBox.reset(0, 0, 0);
		for (u32 v = 0; v < 12; ++v)
		{
			buffer->Vertices.push_back(Vertices[v]);
			video::S3DVertex& vertex = buffer->Vertices.getLast();
			vertex.Pos *= Size;
			Box.addInternalPoint(vertex.Pos);
			buffer->BoundingBox.addInternalPoint(vertex.Pos);
		}
	}
	Mesh.BoundingBox = Box;
}

void CSubcubeSceneNode::OnRegisterSceneNode()
{
	if (IsVisible)
		SceneManager->registerNodeForRendering(this, scene::ESNRP_AUTOMATIC);
	ISceneNode::OnRegisterSceneNode();
}

void CSubcubeSceneNode::render()
{
	video::IVideoDriver* videoDriver = SceneManager->getVideoDriver();
	videoDriver->setTransform(video::ETS_WORLD, AbsoluteTransformation);
	for (u32 k = 0; k < 6; ++k)
	{
		videoDriver->setMaterial(Materials[k]);
		videoDriver->drawMeshBuffer(Mesh.getMeshBuffer(k));
	}
}

const core::aabbox3d<f32>& CSubcubeSceneNode::getBoundingBox() const
{
	return Box;
}

video::SMaterial& CSubcubeSceneNode::getMaterial(u32 i)
{
	return Materials[i < 6 ? i : 0];
}

u32 CSubcubeSceneNode::getMaterialCount() const
{
	return 1;
}

scene::ESCENE_NODE_TYPE CSubcubeSceneNode::getType() const
{
	return (scene::ESCENE_NODE_TYPE)SubcubeTypeId;
}

void CSubcubeSceneNode::setMesh(scene::IMesh*)
{
}

scene::IMesh* CSubcubeSceneNode::getMesh()
{
	return &Mesh;
}

scene::IShadowVolumeSceneNode* CSubcubeSceneNode::addShadowVolumeSceneNode(
	const scene::IMesh*, s32, bool, f32)
{
	return 0;
}

void CSubcubeSceneNode::setReadOnlyMaterials(bool)
{
}

bool CSubcubeSceneNode::isReadOnlyMaterials() const
{
	return false;
}

void CSubcubeSceneNode::setVertexColor(video::SColor colour)
{
	VertexColor = colour;
	for (u32 k = 0; k < 6; ++k)
	{
		scene::SMeshBuffer* buffer = static_cast<scene::SMeshBuffer*>(Mesh.getMeshBuffer(k));
		for (u32 v = 0; v < buffer->Vertices.size(); ++v)
			buffer->Vertices[v].Color = colour;
		buffer->setDirty(scene::EBT_VERTEX);
	}
}

void CSubcubeSceneNode::highlightSelected()
{
	static_cast<CSubcubeSceneNode*>(selectedNode)->setVertexColor(SubcubeSelectedColor);
}

void CSubcubeSceneNode::unhighlightSelected()
{
	static_cast<CSubcubeSceneNode*>(selectedNode)->setVertexColor(SubcubeNormalColor);
}

CSubcubeSceneNode* asSubcube(scene::ISceneNode* node)
{
	if (node && (u32)node->getType() == SubcubeTypeId)
		return static_cast<CSubcubeSceneNode*>(node);
	return 0;
}
