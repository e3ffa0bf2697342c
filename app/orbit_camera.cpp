#include "app/orbit_camera.h"

#include <cmath>

void OrbitCameraController::initialise(float startDistance, float startAzimuth, float startElevation) {
    distance = startDistance;
    azimuth = startAzimuth;
    elevation = startElevation;
}

irr::core::vector3df OrbitCameraController::offset() const {
    const float k = degreesToRadians_;
    return {distance * std::sin(azimuth * k) * std::sin(elevation * k), distance * std::cos(elevation * k),
            distance * std::cos(azimuth * k) * std::sin(elevation * k)};
}

void OrbitCameraController::update(irr::scene::ICameraSceneNode* camera, int mouseX, int mouseY, bool reset) {
    if (reset) {
        lastx = mouseX;
        lasty = mouseY;
    }
    azimuth += static_cast<float>(lastx - mouseX);
    lastx = mouseX;
    elevation += static_cast<float>(lasty - mouseY);
    lasty = mouseY;
    if (elevation < 1.0f) elevation = 1.0f;
    if (elevation > 179.0f) elevation = 179.0f;
    if (camera == nullptr) return;
    camera->setPosition(offset());
    camera->updateAbsolutePosition();
    if (camera->getParent() != nullptr) camera->setTarget(camera->getParent()->getAbsolutePosition());
}

void OrbitCameraController::zoom(irr::scene::ICameraSceneNode* camera, float wheel) {
    lastwheel = wheel;
    distance = distance - wheel * (distance * 0.033333335f);
    update(camera, lastx, lasty, true);
}
