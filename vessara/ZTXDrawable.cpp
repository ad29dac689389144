#include "vessara/ZTXDrawable.h"

#include "kestrane_ext/File.h"
#include "vessara/FatalError.h"

namespace StdVessara {

ZTXDrawable::ZTXDrawable(Vessara::Demo* demo, const std::string& path)
    : Vessara::Drawable(demo, "Untitled"), KestraneExt::ZTXLoader(KestraneExt::File(path, "rb"))
{
}

void ZTXDrawable::applyMaterial(const Zentrix::MeshNode& mesh)
{
    const Zentrix::SceneMaterial* m = mesh.material;
    if (!m)
        Vessara::fatalError("ZTXDrawable: mesh node \"" + mesh.name + "\" has no material (\"" +
                            mesh.materialName + "\" names none), so it cannot be drawn");

    if (!m->textureMap().empty()) {
        if (!m->bumpMap().empty()) {
            useShader("vessara_specularbump.cg");
            setFloat4("lightPosition", 0.0f, 0.0f, 0.0f, 1.0f);
            setTexture("tex0", m->textureMap());
            setTexture("tex1", "normal_" + m->bumpMap());
        } else {
            useShader("vessara_texturespecular.cg");
            setFloat4("lightPosition", 0.0f, 0.0f, 0.0f, 1.0f);
            setTexture("tex0", m->textureMap());
        }
        return;
    }
    applyUntexturedMaterial(*m);
}

void ZTXDrawable::applyUntexturedMaterial(const Zentrix::SceneMaterial& m)
{
    // The blend function is made ready for a translucent colour, but blending
    // itself stays as the caller left it (normally off).
    setBlendFunction(Kestrane::BlendFactor::SrcAlpha, Kestrane::BlendFactor::OneMinusSrcAlpha);
    useShader("vessara_colorspecular.cg");
    // The colour parameter has always carried colour 3's red as its fourth value.
    setFloat4("color", m.colors[1].x, m.colors[1].y, m.colors[1].z, m.colors[2].x);
    setFloat("alpha", m.scalars[0]);
}

void ZTXDrawable::drawAt(float time)
{
    evaluate(time);
    for (const KestraneExt::NodeInstance& instance : meshInstances) {
        const auto& mesh = static_cast<const Zentrix::MeshNode&>(*instance.node);
        applyMaterial(mesh);
        setWorld(instance.world);
        uploadCamera();
        if (KestraneExt::Geometry* geometry = geometryOf(&mesh))
            geometry->draw();
        instanceDrawn();
    }
}

}  // namespace StdVessara
