#pragma once
// The orbit camera: it looks at the centre point from a distance, turned by dragging with
// the right mouse button (one degree per pixel) and moved nearer or farther with the wheel.

#include <irrlicht/irrlicht.h>

class OrbitCameraController {
public:
    float lastwheel = 0.0f;
    float distance = 10.0f;
    float azimuth = 180.0f;   // degrees
    float elevation = 0.0f;   // degrees
    int lastx = 0;
    int lasty = 0;

    void initialise(float startDistance, float startAzimuth, float startElevation);

    // Turns the camera by the mouse movement since the last call; `reset` starts a new drag.
    void update(irr::scene::ICameraSceneNode* camera, int mouseX, int mouseY, bool reset);

    // Moves the camera towards the centre point by `wheel` notches (negative: away).
    void zoom(irr::scene::ICameraSceneNode* camera, float wheel);

    // The camera's position relative to the centre point.
    irr::core::vector3df offset() const;

private:
    float degreesToRadians_ = 0.0174532924f;
};
