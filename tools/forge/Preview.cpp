#include "Preview.h"

#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/VXMLoader.h"

#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

namespace Forge {

namespace {

struct LoadedTriangle {
    Float3 p[3];
    Float3 n[3];
};

std::vector<LoadedTriangle> loadTriangles(const std::vector<std::uint8_t>& vxm, const std::string& name) {
    KestraneExt::VXMLoader loader(vxm.data(), vxm.size(), name, 0, 0);
    std::vector<LoadedTriangle> out;
    for (int m = 0; m < loader.meshCount(); ++m) {
        KestraneExt::Geometry& g = loader.mesh(m);
        auto positions = g.createAttribute(KestraneExt::Semantic::Position);
        auto normals = g.createAttribute(KestraneExt::Semantic::Normal);
        auto indices = g.createIndices();
        if (!positions || !normals || !indices) continue;
        for (int i = 0; i + 2 < indices->count(); i += 3) {
            LoadedTriangle t;
            for (int k = 0; k < 3; ++k) {
                float p[4] = {0, 0, 0, 0}, n[4] = {0, 0, 0, 0};
                const int v = static_cast<int>(indices->get(i + k));
                positions->get(v, p);
                normals->get(v, n);
                t.p[k] = {p[0], p[1], p[2]};
                t.n[k] = {n[0], n[1], n[2]};
            }
            out.push_back(t);
        }
    }
    return out;
}

Rgba sampleClamped(const Image& image, float u, float v) {
    // Texture coordinates with v up, as GL samples an image loaded bottom-up.
    const float x = std::clamp(u, 0.0f, 1.0f) * static_cast<float>(image.width() - 1);
    const float y = (1.0f - std::clamp(v, 0.0f, 1.0f)) * static_cast<float>(image.height() - 1);
    return image.at(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
}

}  // namespace

Image loadImage(const std::string& path) {
    int w = 0, h = 0, channels = 0;
    std::unique_ptr<unsigned char, decltype(&stbi_image_free)> pixels(stbi_load(path.c_str(), &w, &h, &channels, 4),
                                                                      &stbi_image_free);
    if (!pixels) throw std::runtime_error(path + ": cannot decode the image (" + stbi_failure_reason() + ")");
    Image image(w, h);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const unsigned char* p = pixels.get() + i * 4;
        image.pixels[i] = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f};
    }
    return image;
}

PreviewCamera framingCamera(const std::vector<std::uint8_t>& vxm, const std::string& name) {
    Float3 lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    for (const LoadedTriangle& t : loadTriangles(vxm, name))
        for (const Float3& p : t.p) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
    const Float3 centre = (lo + hi) * 0.5f;
    const float radius = std::max(length(hi - lo) * 0.5f, 1e-3f);
    const float distance = radius / std::tan(20.0f * 3.14159265f / 180.0f) * 0.8f;
    return {centre + normalize({0.55f, 0.45f, 1.0f}) * distance, centre, {0, 1, 0}, 40.0f};
}

Image renderPreview(const std::vector<std::uint8_t>& vxm, const std::string& name, const PreviewCamera& camera,
                    int width, int height, const Image* env, Rgba background, bool planar) {
    const std::vector<LoadedTriangle> triangles = loadTriangles(vxm, name);
    Image image(width, height, background);
    std::vector<float> depth(static_cast<std::size_t>(width * height), std::numeric_limits<float>::max());
    const Float3 forward = normalize(camera.target - camera.eye);
    const Float3 right = normalize(cross(forward, camera.up));
    const Float3 up = cross(right, forward);
    const float focal = 0.5f * static_cast<float>(height) / std::tan(camera.fieldOfView * 3.14159265f / 360.0f);
    struct Projected {
        float x, y, z;
    };
    auto project = [&](Float3 p) {
        const Float3 d = p - camera.eye;
        const float z = dot(d, forward);
        return Projected{0.5f * static_cast<float>(width) + focal * dot(d, right) / z,
                         0.5f * static_cast<float>(height) - focal * dot(d, up) / z, z};
    };
    const Float3 key = normalize(up * 0.9f + right * 0.5f - forward);
    for (const LoadedTriangle& t : triangles) {
        Projected s[3];
        bool visible = true;
        for (int k = 0; k < 3; ++k) {
            s[k] = project(t.p[k]);
            if (s[k].z < 1e-3f) visible = false;
        }
        if (!visible) continue;
        const float area = (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[2].x - s[0].x) * (s[1].y - s[0].y);
        if (std::fabs(area) < 1e-9f) continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({s[0].x, s[1].x, s[2].x}))));
        const int x1 = std::min(width - 1, static_cast<int>(std::ceil(std::max({s[0].x, s[1].x, s[2].x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({s[0].y, s[1].y, s[2].y}))));
        const int y1 = std::min(height - 1, static_cast<int>(std::ceil(std::max({s[0].y, s[1].y, s[2].y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                float w[3];
                w[0] = ((s[1].x - px) * (s[2].y - py) - (s[2].x - px) * (s[1].y - py)) / area;
                w[1] = ((s[2].x - px) * (s[0].y - py) - (s[0].x - px) * (s[2].y - py)) / area;
                w[2] = 1.0f - w[0] - w[1];
                if (w[0] < 0.0f || w[1] < 0.0f || w[2] < 0.0f) continue;
                // Perspective-correct interpolation through 1/z.
                const float iz = w[0] / s[0].z + w[1] / s[1].z + w[2] / s[2].z;
                const float z = 1.0f / iz;
                float& dz = depth[static_cast<std::size_t>(y * width + x)];
                if (z >= dz) continue;
                dz = z;
                Float3 n{0, 0, 0}, p{0, 0, 0};
                for (int k = 0; k < 3; ++k) {
                    n = n + t.n[k] * (w[k] / s[k].z * z);
                    p = p + t.p[k] * (w[k] / s[k].z * z);
                }
                n = normalize(n);
                const Float3 ray = normalize(p - camera.eye);
                if (dot(n, ray) > 0.0f) n = n * -1.0f;
                const Float3 r = ray - n * (2.0f * dot(ray, n));
                const float fresnel = std::pow(1.0f - std::clamp(-dot(n, ray), 0.0f, 1.0f), 4.0f);
                Rgba c;
                if (env) {
                    const Float3 e{dot(r, right), dot(r, up), -dot(r, forward)};
                    const float m = planar ? 2.0f : 2.0f * std::sqrt(e.x * e.x + e.y * e.y + (e.z + 1.0f) * (e.z + 1.0f));
                    const Rgba envColor = sampleClamped(*env, e.x / std::max(m, 1e-4f) + 0.5f, e.y / std::max(m, 1e-4f) + 0.5f);
                    const float highlight = std::pow(std::clamp(dot(r, key), 0.0f, 1.0f), 32.0f);
                    c = envColor * (0.85f + 0.4f * fresnel) + Rgba{0.3f, 0.3f, 0.3f, 0.0f} * highlight;
                } else {
                    const float diffuse = std::clamp(dot(n, key), 0.0f, 1.0f);
                    const float highlight = std::pow(std::clamp(dot(r, key), 0.0f, 1.0f), 24.0f);
                    const float l = 0.15f + 0.7f * diffuse + 0.4f * highlight + 0.2f * fresnel;
                    c = {0.75f * l, 0.78f * l, 0.85f * l, 1.0f};
                }
                c.a = 1.0f;
                image.at(x, y) = c;
            }
    }
    return image;
}

}  // namespace Forge
