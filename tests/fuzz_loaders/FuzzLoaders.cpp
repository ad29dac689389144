// Mutation fuzzing of the VXM and ZTX parsers. Seeds are valid files made by
// the writers; each case mutates one seed and parses it into client-memory
// geometry (no GL), which must either throw FormatError or load a model whose
// every index lies inside its vertices. Anything else (another exception, a
// crash, a sanitizer report, a hang past the test timeout) fails.
#include "ext/ModelSamples.h"

#include "kestrane_ext/FormatError.h"
#include "kestrane_ext/VXMLoader.h"
#include "kestrane_ext/ZTXLoader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

using namespace KestraneExt;

namespace {

double budgetSeconds() {
    const char* env = std::getenv("VESSARA_FUZZ_SECONDS");
    const double total = env ? std::atof(env) : 30.0;
    return (total > 0 ? total : 30.0) / 2.0;  // two formats share the budget
}

class Mutator {
public:
    explicit Mutator(std::uint64_t seed) : random(seed) {}

    std::vector<std::uint8_t> mutate(const std::vector<std::uint8_t>& seed) {
        std::vector<std::uint8_t> bytes = seed;
        const int steps = 1 + static_cast<int>(pick(4));
        for (int s = 0; s < steps; ++s) {
            if (bytes.empty()) bytes.push_back(static_cast<std::uint8_t>(pick(256)));
            switch (pick(6)) {
                case 0:  // truncate
                    bytes.resize(pick(bytes.size() + 1));
                    break;
                case 1:  // flip bits of a few bytes
                    for (int k = 1 + static_cast<int>(pick(8)); k > 0; --k)
                        bytes[pick(bytes.size())] ^= static_cast<std::uint8_t>(1u << pick(8));
                    break;
                case 2: {  // a hostile 32-bit value where a count or index may be
                    static const std::int32_t values[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 255, 256, 257,
                                                          0x7fffffff, INT32_MIN, 0x40000000,
                                                          0x10000, 0x3fffffff, -256};
                    if (bytes.size() < 4) break;
                    std::size_t at = pick(bytes.size() - 3);
                    if (pick(2)) at &= ~std::size_t{3};
                    const std::int32_t v = pick(4) ? values[pick(std::size(values))]
                                                   : static_cast<std::int32_t>(random());
                    std::memcpy(bytes.data() + at, &v, 4);
                    break;
                }
                case 3: {  // remove a run
                    const std::size_t at = pick(bytes.size());
                    const std::size_t n = std::min(bytes.size() - at, 1 + pick(16));
                    bytes.erase(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + n));
                    break;
                }
                case 4: {  // insert random bytes
                    const std::size_t at = pick(bytes.size() + 1);
                    std::vector<std::uint8_t> extra(1 + pick(16));
                    for (auto& b : extra) b = static_cast<std::uint8_t>(pick(256));
                    bytes.insert(bytes.begin() + static_cast<long>(at), extra.begin(), extra.end());
                    break;
                }
                default:  // duplicate a run (repeats records)
                    if (bytes.size() > 8) {
                        const std::size_t at = pick(bytes.size() - 4);
                        const std::size_t n = std::min(bytes.size() - at, 4 + pick(64));
                        std::vector<std::uint8_t> run(bytes.begin() + static_cast<long>(at),
                                                      bytes.begin() + static_cast<long>(at + n));
                        bytes.insert(bytes.begin() + static_cast<long>(pick(bytes.size())), run.begin(), run.end());
                    }
                    break;
            }
        }
        return bytes;
    }

private:
    std::size_t pick(std::size_t n) { return n ? static_cast<std::size_t>(random() % n) : 0; }
    std::mt19937_64 random;
};

void checkGeometry(Geometry& g) {
    VertexStream* lowest = g.lowestStream();
    if (!g.indices() || !lowest || g.indices()->indexCount() == 0) return;
    auto ix = g.createIndices();
    ASSERT_TRUE(ix);
    for (int i = 0; i < ix->count(); ++i)
        ASSERT_LT(ix->get(i), static_cast<std::uint32_t>(lowest->vertexCount()));
}

void checkNode(const ZTXLoader& scene, const Zentrix::SceneNode& node) {
    if (Geometry* g = scene.geometryOf(&node)) checkGeometry(*g);
    ASSERT_TRUE(Zentrix::isValidNodeType(node.type));
    for (const auto& child : node.children) checkNode(scene, *child);
}

struct Figures {
    long cases = 0, loaded = 0, rejected = 0;
};

// Runs mutated cases of the seeds through parse() until the time budget is
// spent; parse must throw FormatError or return normally.
template <typename Parse>
Figures fuzz(const char* name, const std::vector<std::vector<std::uint8_t>>& seeds, Parse parse) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(budgetSeconds());
    Figures f;
    std::uint64_t caseSeed = 0x5eed0000u;
    while (std::chrono::steady_clock::now() < end) {
        for (int batch = 0; batch < 64; ++batch, ++caseSeed) {
            Mutator mutator(caseSeed);
            const auto& seed = seeds[caseSeed % seeds.size()];
            const std::vector<std::uint8_t> bytes = mutator.mutate(seed);
            ++f.cases;
            try {
                parse(bytes);
                ++f.loaded;
            } catch (const FormatError&) {
                ++f.rejected;
            }
            if (::testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << name << " case seed " << caseSeed;
                return f;
            }
        }
    }
    std::printf("%s: %ld cases, %ld loaded, %ld rejected in %.0f s\n", name, f.cases, f.loaded,
                f.rejected, budgetSeconds());
    return f;
}

}  // namespace

TEST(FuzzLoaders, MutatedVXMFilesLoadOrFailCleanly) {
    const std::vector<std::vector<std::uint8_t>> seeds = {
        encodeVXM({Samples::unitTriangle()}),
        encodeVXM({Samples::grid(3, "a"), Samples::square(0, 0, 1, 1), VXMMeshData{"empty", {}, {}}}),
        encodeVXM({}),
    };
    const Figures f = fuzz("VXM", seeds, [](const std::vector<std::uint8_t>& bytes) {
        VXMLoader vxm(bytes.data(), bytes.size(), "fuzz.vxm", BufferUsage::ClientMemory,
                      BufferUsage::ClientMemory);
        for (int m = 0; m < vxm.meshCount(); ++m) checkGeometry(vxm.mesh(m));
    });
    EXPECT_GT(f.cases, 100);
    EXPECT_GT(f.rejected, 0);
    EXPECT_GT(f.loaded, 0);
}

TEST(FuzzLoaders, MutatedZTXFilesLoadOrFailCleanly) {
    ZTXSceneData small;
    small.nodes.push_back(Samples::squareNode("Quad", 1.0f, {0, 0, 0}, true));
    small.nodes[0].children.push_back(Samples::squareNode("Kid", 0.5f, {1, 0, 0}));
    const std::vector<std::vector<std::uint8_t>> seeds = {encodeZTX(Samples::fullScene()),
                                                          encodeZTX(small)};
    const Figures f = fuzz("ZTX", seeds, [](const std::vector<std::uint8_t>& bytes) {
        ZTXLoader scene(bytes.data(), bytes.size(), "fuzz.ztx", BufferUsage::ClientMemory);
        for (const auto& node : scene.nodes()) checkNode(scene, *node);
        for (const auto& node : scene.nodes()) {
            // The samplers read whatever the tracks hold without failing.
            (void)node->positionAt(3.0f);
            (void)node->rotationAt(3.0f);
            (void)node->scaleAt(3.0f);
        }
    });
    EXPECT_GT(f.cases, 100);
    EXPECT_GT(f.rejected, 0);
    EXPECT_GT(f.loaded, 0);
}
