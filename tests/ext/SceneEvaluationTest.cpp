// Scene evaluation, cameras and drawing of ZTX scenes on real GL.
#include "ModelSamples.h"

#include "kestrane_ext/FormatError.h"
#include "kestrane_ext/ZTXLoader.h"
#include "kestrane/DefaultShader.h"
#include "kestrane/State.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

using namespace KestraneExt;
using Kestrane::State;

namespace {

const float Identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

std::unique_ptr<ZTXLoader> load(const ZTXSceneData& data, int usage = BufferUsage::StaticDraw) {
    const auto bytes = encodeZTX(data);
    return std::make_unique<ZTXLoader>(bytes.data(), bytes.size(), "scene.ztx", usage);
}

void expectMatrix(const float* actual, const float* expected, float tolerance = 1e-5f) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

void expectFloat3(Float3 a, Float3 e, float tolerance = 1e-4f) {
    EXPECT_NEAR(a.x, e.x, tolerance);
    EXPECT_NEAR(a.y, e.y, tolerance);
    EXPECT_NEAR(a.z, e.z, tolerance);
}

// A top view: camera 10 units above the origin (file z up), looking down at
// its target, 90 degrees vertical field of view.
ZTXSceneData topViewScene() {
    ZTXSceneData s;
    ZTXNodeData camera;
    camera.type = Zentrix::CameraNodeType;
    camera.name = "Camera01";
    camera.position = {0, 0, 10};
    camera.camera = {"Camera01.Target", 1.0f, 100.0f, 90.0f};
    s.nodes.push_back(camera);
    ZTXNodeData target;
    target.name = "Camera01.Target";
    s.nodes.push_back(target);
    return s;
}

class SceneGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        Kestrane::createDefaultShader();  // made once; the context may not have made it yet
        State::resetAll();
        State::disable(Kestrane::Capability::CullFace);
        State::setDepthFunction(Kestrane::CompareFunction::LessEqual);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    static bool lit(int x, int y) { return readPixel(x, y).r > 200; }
};

}  // namespace

TEST_F(SceneGL, EvaluationComposesChildrenAndSortsNodesByType) {
    ZTXSceneData data;
    ZTXNodeData mesh = Samples::squareNode("Mesh", 1, {1, 2, 3});  // renderer (1, 3, -2)
    ZTXNodeData child;
    child.type = Zentrix::PlainNode4;
    child.name = "Child";
    child.positionKeys = {{{0, 0, 0}, 0}, {{10, 0, 0}, 10}};  // (5, 0, 0) at time 5
    mesh.children.push_back(child);
    ZTXNodeData light;
    light.type = Zentrix::LightNodeType;
    light.name = "Light";
    ZTXNodeData helper;
    helper.type = Zentrix::Kind5Node;
    helper.name = "Helper";
    helper.scale = {2, 2, 2};
    ZTXNodeData grandchild;
    grandchild.name = "Grandchild";
    grandchild.position = {1, 0, 0};  // scaled by its parent: (2, 0, 0)
    helper.children.push_back(grandchild);
    data.nodes = {mesh, light, helper};
    auto scene = load(data);

    State::translateWorld(100, 0, 0);  // evaluation starts from the caller's World
    float before[16];
    State::getWorld(before);
    scene->evaluate(5.0f);
    float after[16];
    State::getWorld(after);
    expectMatrix(after, before, 0.0f);

    ASSERT_EQ(scene->meshInstances.size(), 1u);
    ASSERT_EQ(scene->plainInstances.size(), 2u);
    ASSERT_EQ(scene->lightInstances.size(), 1u);
    ASSERT_EQ(scene->kind5Instances.size(), 1u);
    EXPECT_TRUE(scene->cameraInstances.empty());
    EXPECT_EQ(scene->meshInstances[0].node->name, "Mesh");
    expectFloat3(scene->meshInstances[0].worldPosition, {101, 3, -2});
    // Depth first, parents first: the mesh's child before the helper's.
    EXPECT_EQ(scene->plainInstances[0].node->name, "Child");
    expectFloat3(scene->plainInstances[0].worldPosition, {106, 3, -2});
    EXPECT_EQ(scene->plainInstances[1].node->name, "Grandchild");
    expectFloat3(scene->plainInstances[1].worldPosition, {102, 0, 0});
    // Identity projection: projected equals the world position.
    expectFloat3(scene->plainInstances[0].projected, {106, 3, -2});

    // A second evaluation refills the lists instead of appending.
    scene->evaluate(0.0f);
    EXPECT_EQ(scene->plainInstances.size(), 2u);
    expectFloat3(scene->plainInstances[0].worldPosition, {101, 3, -2});
}

// Nesting up to the loader's limit loads and evaluates (far deeper than GL's
// matrix stack); one level more is rejected rather than recursed into.
TEST_F(SceneGL, TreesUpToTheDepthLimitEvaluateAndDeeperAreRejected) {
    auto chain = [](int depth) {
        ZTXSceneData data;
        data.nodes.resize(1);
        ZTXNodeData* leaf = &data.nodes[0];
        for (int level = 0; level < depth; ++level) {
            leaf->name = std::to_string(level);
            leaf->position = {1, 0, 0};
            if (level + 1 < depth) leaf = &leaf->children.emplace_back();
        }
        return data;
    };
    auto scene = load(chain(Zentrix::Scene::MaxDepth));
    scene->evaluate(0.0f);
    ASSERT_EQ(scene->plainInstances.size(), std::size_t{Zentrix::Scene::MaxDepth});
    expectFloat3(scene->plainInstances.back().worldPosition, {Zentrix::Scene::MaxDepth, 0, 0});
    float world[16];
    State::getWorld(world);
    expectMatrix(world, Identity, 0.0f);
    EXPECT_THROW(load(chain(Zentrix::Scene::MaxDepth + 1)), FormatError);
}

TEST_F(SceneGL, SceneDrawnWithTheDefaultShaderCoversItsMeshes) {
    ZTXSceneData data = topViewScene();
    // File x right, file y up on screen. One square at x = 5, a second as the
    // child of a plain node moved to y = -5.
    data.nodes.push_back(Samples::squareNode("Right", 1.0f, {5, 0, 0}, true));
    ZTXNodeData holder;
    holder.name = "Holder";
    holder.position = {0, -5, 0};
    holder.children.push_back(Samples::squareNode("Below", 1.0f, {0, 0, 0}));
    data.nodes.push_back(holder);
    // Vertices and texture channel 1 but no faces: frames of nothing, no draw.
    ZTXNodeData faceless = Samples::squareNode("Faceless", 1.0f, {0, 0, 0}, true);
    faceless.mesh.indices.clear();
    data.nodes.push_back(faceless);
    auto scene = load(data);
    scene->useCamera("Camera01", 0.0f, 800.0f / 600.0f);
    scene->drawAt(0.0f);
    EXPECT_EQ(scene->meshInstances.size(), 3u);
    // x = 5 at distance 10 with tan(45) = 1: NDC 5 / (10 * 4/3) = 0.375.
    EXPECT_TRUE(lit(550, 300));
    EXPECT_TRUE(lit(525, 275));
    EXPECT_FALSE(lit(590, 300));
    EXPECT_FALSE(lit(400, 300));  // nothing at the centre
    // y = -5: NDC -0.5, pixel row 150, spanning columns 370-430.
    EXPECT_TRUE(lit(400, 150));
    EXPECT_TRUE(lit(425, 130));
    EXPECT_FALSE(lit(440, 150));
    EXPECT_FALSE(lit(400, 190));
    const auto pixels = readPixels(0, 0, 800, 600);
    int covered = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) covered += pixels[i] > 200;
    EXPECT_NEAR(covered, 2 * 60 * 60, 400);

    // Batch::draw is the drawing at time 0.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene->useCamera("Camera01", 0.0f, 800.0f / 600.0f);
    static_cast<Batch&>(*scene).draw();
    EXPECT_TRUE(lit(550, 300));
}

// The file stores a turn by θ about a unit axis a as q = (a sin(θ/2), cos(θ/2));
// the loader turns by −θ about a taken to the renderer's axes (x, z, −y),
// after moving and before scaling. The World matrices below are that rule
// worked out by hand (column-major), not computed by the code under test.
TEST_F(SceneGL, RotationsAboutEachFileAxisFollowTheFileRule) {
    const float h = std::sqrt(0.5f), c60 = 0.5f, s60 = std::sqrt(0.75f);
    const struct {
        const char* name;
        Quaternion rotation;
        Float3 position, scale;
        float world[16];
    } cases[] = {
        // 90° about file x: −90° about renderer x; y goes to −z, z to y.
        {"AboutX", {h, 0, 0, h}, {0, 0, 0}, {1, 1, 1}, {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1}},
        // 60° about file x: −60° about renderer x.
        {"AboutX60", {0.5f, 0, 0, s60}, {0, 0, 0}, {1, 1, 1},
         {1, 0, 0, 0, 0, c60, -s60, 0, 0, s60, c60, 0, 0, 0, 0, 1}},
        // 90° about file y: −90° about renderer −z, that is +90° about z; x goes to y.
        {"AboutY", {0, h, 0, h}, {0, 0, 0}, {1, 1, 1}, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        // 90° about file z: −90° about renderer y; x goes to z, z to −x.
        {"AboutZ", {0, 0, h, h}, {0, 0, 0}, {1, 1, 1}, {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1}},
        // The same turn at file (1, 2, 3) = renderer (1, 3, −2), scaled by
        // file (1, 2, 3) = renderer (1, 3, 2): the columns scaled, then moved.
        {"Placed", {0, 0, h, h}, {1, 2, 3}, {1, 2, 3}, {0, 0, 1, 0, 0, 3, 0, 0, -2, 0, 0, 0, 1, 3, -2, 1}},
    };
    ZTXSceneData data;
    for (const auto& c : cases) {
        ZTXNodeData& node = data.nodes.emplace_back();
        node.name = c.name;
        node.rotation = c.rotation;
        node.position = c.position;
        node.scale = c.scale;
    }
    auto scene = load(data);
    scene->evaluate(0.0f);
    ASSERT_EQ(scene->plainInstances.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        expectMatrix(scene->plainInstances[i].world, cases[i].world);
    }
}

// Keys (0, 0, 0, 1) and −(0, 0, sin 45°, cos 45°): the same turns as 0° and
// 90° about file z, but with a negative dot product. Halfway the short way is
// 45° about file z, that is −45° about renderer y; the long way would be 135°.
TEST_F(SceneGL, RotationKeysWithANegativeDotProductTurnTheShortWay) {
    const float h = std::sqrt(0.5f);
    ZTXSceneData data;
    ZTXNodeData& node = data.nodes.emplace_back();
    node.name = "Turning";
    node.rotationKeys = {{{0, 0, 0, 1}, 0}, {{0, 0, -h, -h}, 10}};
    auto scene = load(data);
    const struct {
        float time;
        float world[16];
    } cases[] = {
        {5, {h, 0, h, 0, 0, 1, 0, 0, -h, 0, h, 0, 0, 0, 0, 1}},
        {10, {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        scene->evaluate(c.time);
        ASSERT_EQ(scene->plainInstances.size(), 1u);
        expectMatrix(scene->plainInstances[0].world, c.world);
    }
}
