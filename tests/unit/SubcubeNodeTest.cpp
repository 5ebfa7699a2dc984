// The sub-cube node: its box, its six face buffers and their winding, its materials and its
// selection colours.
#include "CSubcubeSceneNode.h"
#include "NullDeviceTest.h"
#include <cmath>

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

	video::SMaterial materials[6];
	CSubcubeSceneNode* node = nullptr;
};

// Outward normal of face buffer k, in the order of the face table.
const core::vector3df FaceNormals[6] = {
	core::vector3df(0, 0, -1), core::vector3df(1, 0, 0), core::vector3df(0, 0, 1),
	core::vector3df(-1, 0, 0), core::vector3df(0, 1, 0), core::vector3df(0, -1, 0)};
}

TEST_F(SubcubeNode, BoxSpansHalfTheSizeOnEveryAxis)
{
	const core::aabbox3df& box = node->getBoundingBox();
	EXPECT_TRUE(box.MinEdge.equals(core::vector3df(-4.5f, -4.5f, -4.5f)));
	EXPECT_TRUE(box.MaxEdge.equals(core::vector3df(4.5f, 4.5f, 4.5f)));
}

TEST_F(SubcubeNode, MeshHasSixBuffersOfTwelveVerticesAndSixIndices)
{
	ASSERT_EQ(node->getMesh()->getMeshBufferCount(), 6u);
	for (u32 k = 0; k < 6; ++k)
	{
		EXPECT_EQ(buffer(k)->getVertexCount(), 12u);
		EXPECT_EQ(buffer(k)->getIndexCount(), 6u);
	}
}

TEST_F(SubcubeNode, EachBufferCoversItsWholeFaceSquareWithTheWholeTexture)
{
	// The texture's turn on each face as seen from outside: +1 as drawn, -1 mirrored (the side
	// faces are mirrored by design).
	const s32 uvTurn[6] = {1, -1, 1, -1, 1, 1};
	for (u32 k = 0; k < 6; ++k)
	{
		const video::S3DVertex* v = (const video::S3DVertex*)buffer(k)->getVertices();
		const u16* idx = buffer(k)->getIndices();
		u32 corners = 0, uvCorners = 0;
		bool onCorners = true, turned = true;
		for (u32 i = 0; i < 6; ++i)
		{
			const core::vector3df p = v[idx[i]].Pos;
			const core::vector2df uv = v[idx[i]].TCoords;
			onCorners &= fabsf(fabsf(p.X) - 4.5f) < 1e-5f && fabsf(fabsf(p.Y) - 4.5f) < 1e-5f &&
				fabsf(fabsf(p.Z) - 4.5f) < 1e-5f && p.dotProduct(FaceNormals[k]) > 0;
			// One bit per corner of the face square (by its two in-plane signs) and of the texture.
			const core::vector3df inPlane = p - FaceNormals[k] * p.dotProduct(FaceNormals[k]);
			const s32 first = FaceNormals[k].X != 0 ? (inPlane.Y > 0) : (inPlane.X > 0);
			const s32 second = FaceNormals[k].Z != 0 ? (inPlane.Y > 0) : (inPlane.Z > 0);
			corners |= 1u << (2 * first + second);
			uvCorners |= 1u << (2 * (uv.X > 0.5f) + (uv.Y > 0.5f));
			if (i % 3 == 2)
			{
				const core::vector2df a = v[idx[i - 2]].TCoords, b = v[idx[i - 1]].TCoords;
				const f32 cross = (b.X - a.X) * (uv.Y - a.Y) - (b.Y - a.Y) * (uv.X - a.X);
				turned &= cross * uvTurn[k] > 0;
			}
		}
		EXPECT_TRUE(onCorners) << "buffer " << k;
		EXPECT_EQ(corners, 15u) << "buffer " << k;
		EXPECT_EQ(uvCorners, 15u) << "buffer " << k;
		EXPECT_TRUE(turned) << "buffer " << k;
	}
}

TEST_F(SubcubeNode, EveryTrianglePointsOutOfTheCube)
{
	for (u32 k = 0; k < 6; ++k)
	{
		const video::S3DVertex* v = (const video::S3DVertex*)buffer(k)->getVertices();
		const u16* idx = buffer(k)->getIndices();
		for (u32 t = 0; t < 6; t += 3)
		{
			const core::vector3df a = v[idx[t]].Pos, b = v[idx[t + 1]].Pos, c = v[idx[t + 2]].Pos;
			const core::vector3df n = (b - a).crossProduct(c - a);
			EXPECT_GT(n.dotProduct(FaceNormals[k]), 0.0f) << "buffer " << k << " triangle " << t / 3;
		}
	}
}

TEST_F(SubcubeNode, MaterialsAnswerTheirFaceOrTheFirst)
{
	EXPECT_FLOAT_EQ(node->getMaterial(5).Shininess, 5.0f);
	EXPECT_FLOAT_EQ(node->getMaterial(6).Shininess, 0.0f);
	EXPECT_FLOAT_EQ(node->getMaterial(100).Shininess, 0.0f);
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
	selectedNode = node;
	CSubcubeSceneNode::highlightSelected();
	CSubcubeSceneNode::highlightSelected();
	u32 selected = 0;
	for (u32 k = 0; k < 6; ++k)
		for (u32 v = 0; v < 12; ++v)
			selected += ((video::S3DVertex*)buffer(k)->getVertices())[v].Color.color == 0x329B9B9B;
	EXPECT_EQ(selected, 72u);
	bool templateWhite = true;
	for (u32 v = 0; v < 12; ++v)
		templateWhite &= node->Vertices[v].Color.color == 0xFFFFFFFF;
	EXPECT_TRUE(templateWhite);

	CSubcubeSceneNode::unhighlightSelected();
	u32 normal = 0;
	for (u32 k = 0; k < 6; ++k)
		for (u32 v = 0; v < 12; ++v)
			normal += ((video::S3DVertex*)buffer(k)->getVertices())[v].Color.color == 0xFFFFFFFF;
	EXPECT_EQ(normal, 72u);
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
