// The scene operations of Drawable that work through the demo's shared camera
// block and the mesh cache: setCamera, setCurrentTexture, drawMesh.
#include "vessara/Demo.h"
#include "vessara/Drawable.h"
#include "vessara/FatalError.h"
#include "vessara/ResourceProxies.h"

#include "kestrane_ext/VXMLoader.h"

#include <string>

namespace Vessara {

void Drawable::setCamera(float eyeX, float eyeY, float eyeZ, float targetX, float targetY,
                         float targetZ, float upX, float upY, float upZ)
{
    CameraBlock& camera = demo->camera;
    camera.eye[0] = eyeX;
    camera.eye[1] = eyeY;
    camera.eye[2] = eyeZ;
    camera.target[0] = targetX;
    camera.target[1] = targetY;
    camera.target[2] = targetZ;
    camera.up[0] = upX;
    camera.up[1] = upY;
    camera.up[2] = upZ;
    setView(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, upX, upY, upZ);
}

void Drawable::setCurrentTexture(const std::string& name)
{
    demo->camera.setCurrentTexture((*textures)[name]);
}

void Drawable::drawMesh(int index, const std::string& name)
{
    const KestraneExt::VXMLoader* file = (*meshes)[name];
    if (index == -1) {
        file->drawAll();
        return;
    }
    // A wrong index is a scene's mistake; name it rather than read past the
    // mesh array.
    if (index < 0 || index >= file->meshCount())
        fatalError("drawMesh: mesh " + std::to_string(index) + " of \"" + name + "\", which has " +
                   std::to_string(file->meshCount()) + " meshes");
    file->mesh(index).draw();
}

}  // namespace Vessara
