// The sub-cube node: its box, template, six face buffers with their indices, materials, type id
// and selection colours.
#include "CSubcubeSceneNode.h"
#include "NullDeviceTest.h"

using namespace irr;

namespace
{
class SubcubeNode : public NullDeviceTest
{
protected:
	void SetUp() override
	{
		NullDeviceTest::SetUp();
		for (u32 k = 0; k < 6; ++k)
			materials[k].Shininess = (f32)k; // tells the materials apart
		node = new CSubcubeSceneNode(9.0f, materials, sceneManager->getRootSceneNode(), sceneManager, 7,
			core::vector3df(0, 0, 0), core::vector3df(0, 0, 0), core::vector3df(1, 1, 1));
		node->drop(); // the scene root holds it
	}

	scene::IMeshBuffer* buffer(u32 k) { return node->getMesh()->getMeshBuffer(k); }
	video::S3DVertex& vertex(u32 k, u32 v) { return ((video::S3DVertex*)buffer(k)->getVertices())[v]; }

	// How many of the 72 buffer vertices have the colour.
	u32 coloured(u32 colour)
	{
		u32 n = 0;
		for (u32 k = 0; k < 6; ++k)
			for (u32 v = 0; v < 12; ++v)
				n += vertex(k, v).Color.color == colour;
		return n;
	}

	video::SMaterial materials[6];
	CSubcubeSceneNode* node = nullptr;
};

// The unit template: position, normal (the corner direction, not normalised), texture coordinates.
const f32 Template[12][8] = {
	{-0.5f, -0.5f, -0.5f, -1, -1, -1, 0, 1}, {0.5f, -0.5f, -0.5f, 1, -1, -1, 1, 1},
	{0.5f, 0.5f, -0.5f, 1, 1, -1, 1, 0}, {-0.5f, 0.5f, -0.5f, -1, 1, -1, 0, 0},
	{0.5f, -0.5f, 0.5f, 1, -1, 1, 0, 1}, {0.5f, 0.5f, 0.5f, 1, 1, 1, 0, 0},
	{-0.5f, 0.5f, 0.5f, -1, 1, 1, 1, 0}, {-0.5f, -0.5f, 0.5f, -1, -1, 1, 1, 1},
	{-0.5f, 0.5f, 0.5f, -1, 1, 1, 0, 1}, {-0.5f, 0.5f, -0.5f, -1, 1, -1, 1, 1},
	{0.5f, -0.5f, 0.5f, 1, -1, 1, 1, 0}, {0.5f, -0.5f, -0.5f, 1, -1, -1, 0, 0}};

// The faces -Z, +X, +Z, -X, +Y, -Y, each wound to point out of the cube.
const u16 FaceIndices[6][6] = {
	{0, 2, 1, 0, 3, 2}, {1, 5, 4, 1, 2, 5}, {4, 6, 7, 4, 5, 6},
	{7, 3, 0, 7, 6, 3}, {9, 5, 2, 9, 8, 5}, {0, 11, 10, 0, 10, 7}};

video::S3DVertex templateVertex(u32 v, f32 scale)
{
	const f32* t = Template[v];
	return video::S3DVertex(t[0] * scale, t[1] * scale, t[2] * scale, t[3], t[4], t[5], 0xFFFFFFFF, t[6], t[7]);
}
}

TEST_F(SubcubeNode, EachBufferHoldsTheTemplateAtSizeNineAndItsFacesSixIndicesInsideTheBox)
{
	EXPECT_FLOAT_EQ(node->Size, 9.0f);
	EXPECT_TRUE(node->getBoundingBox().MinEdge.equals(core::vector3df(-4.5f, -4.5f, -4.5f)));
	EXPECT_TRUE(node->getBoundingBox().MaxEdge.equals(core::vector3df(4.5f, 4.5f, 4.5f)));
	for (u32 v = 0; v < 12; ++v)
		EXPECT_TRUE(node->Vertices[v] == templateVertex(v, 1.0f)) << "template vertex " << v;
	ASSERT_EQ(node->getMesh()->getMeshBufferCount(), 6u);
	for (u32 k = 0; k < 6; ++k)
	{
		ASSERT_EQ(buffer(k)->getVertexCount(), 12u);
		ASSERT_EQ(buffer(k)->getIndexCount(), 6u);
		for (u32 i = 0; i < 6; ++i)
			EXPECT_EQ(buffer(k)->getIndices()[i], FaceIndices[k][i]) << "buffer " << k << " index " << i;
		for (u32 v = 0; v < 12; ++v)
			EXPECT_TRUE(vertex(k, v) == templateVertex(v, 9.0f)) << "buffer " << k << " vertex " << v;
	}
}

TEST_F(SubcubeNode, MaterialsAnswerTheirFaceOrTheFirst)
{
	for (u32 i : {0, 1, 2, 3, 4, 5, 6, 100})
		EXPECT_FLOAT_EQ(node->getMaterial(i).Shininess, i < 6 ? (f32)i : 0.0f) << i;
	EXPECT_EQ(node->getMaterialCount(), 1u);
}

TEST_F(SubcubeNode, ReportsTheCubeTypeId)
{
	EXPECT_EQ((u32)node->getType(), 0x65627563u);
	EXPECT_EQ(asSubcube(node), node);
	EXPECT_EQ(asSubcube(sceneManager->getRootSceneNode()), nullptr);
	EXPECT_EQ(asSubcube(nullptr), nullptr);
}

TEST_F(SubcubeNode, HighlightRecoloursAllSeventyTwoVerticesButNeverTheTemplate)
{
	EXPECT_EQ(node->VertexColor.color, 0xFFFFFFFFu);
	selectedNode = node;
	CSubcubeSceneNode::highlightSelected();
	CSubcubeSceneNode::highlightSelected();
	EXPECT_EQ(coloured(0x329B9B9B), 72u);
	EXPECT_EQ(node->VertexColor.color, 0x329B9B9Bu);
	for (u32 v = 0; v < 12; ++v)
		EXPECT_EQ(node->Vertices[v].Color.color, 0xFFFFFFFFu) << "template vertex " << v;

	CSubcubeSceneNode::unhighlightSelected();
	EXPECT_EQ(coloured(0xFFFFFFFF), 72u);
	EXPECT_EQ(node->VertexColor.color, 0xFFFFFFFFu);
}

TEST_F(SubcubeNode, IgnoresAReplacementMesh)
{
	scene::SMesh other;
	node->setMesh(&other);
	EXPECT_EQ(node->getMesh(), &node->Mesh);
	EXPECT_EQ(node->getMesh()->getMeshBufferCount(), 6u);
	node->setReadOnlyMaterials(true);
	EXPECT_FALSE(node->isReadOnlyMaterials());
}

TEST_F(SubcubeNode, DrawsItsTwelveTrianglesOnlyWhileVisible)
{
	camera = sceneManager->addCameraSceneNode(0, core::vector3df(0, 0, -40), core::vector3df(0, 0, 0));
	auto trianglesDrawn = [&] {
		driver->beginScene(true, true, video::SColor(0xFF000000));
		sceneManager->drawAll();
		driver->endScene();
		return driver->getPrimitiveCountDrawn(0);
	};
	EXPECT_EQ(trianglesDrawn(), 12u);
	node->setVisible(false);
	EXPECT_EQ(trianglesDrawn(), 0u);
}
