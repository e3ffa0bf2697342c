// The orbit camera: a drag turns it a degree per pixel between elevations 1 and 179, a wheel notch
// takes a thirtieth of the distance, and the node sits where the angles say, facing the centre.

#include <gtest/gtest.h>

#include <utility>

#include <irrlicht/irrlicht.h>

#include "app/orbit_camera.h"

namespace {

using irr::core::vector3df;

class OrbitCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        irr::SIrrlichtCreationParameters parameters;
        parameters.DriverType = irr::video::EDT_NULL;
        parameters.LoggingLevel = irr::ELL_NONE;
        device = irr::createDeviceEx(parameters);
        ASSERT_NE(device, nullptr);
        // The centre point lies away from the origin so that relative and absolute positions differ.
        pivot = device->getSceneManager()->addSphereSceneNode(0.1f, 8, nullptr, -1, vector3df(3.0f, -1.5f, 2.0f));
        pivot->updateAbsolutePosition();
        camera = device->getSceneManager()->addCameraSceneNode(pivot, vector3df(0, 10, 0), vector3df(0, 0, 100), -1, true);
        camera->bindTargetAndRotation(true);
        controller.initialise(10.0f, 180.0f, 0.0f);
    }
    void TearDown() override { device->drop(); }

    void expectAt(const vector3df& offset) {
        pivot->updateAbsolutePosition();
        camera->updateAbsolutePosition();
        const vector3df centre = pivot->getAbsolutePosition();
        EXPECT_LT(camera->getPosition().getDistanceFrom(offset), 2e-3f);
        EXPECT_LT(camera->getAbsolutePosition().getDistanceFrom(centre + offset), 2e-3f);
        EXPECT_LT(camera->getTarget().getDistanceFrom(centre), 1e-4f);
    }

    irr::IrrlichtDevice* device = nullptr;
    irr::scene::ISceneNode* pivot = nullptr;
    irr::scene::ICameraSceneNode* camera = nullptr;
    OrbitCameraController controller;
};

TEST_F(OrbitCameraTest, DraggingTurnsOneDegreePerPixelBetweenThePoles) {
    const struct { int x, y; bool reset; float azimuth, elevation; } steps[] = {
        {400, 300, true, 180, 1},    // a new drag does not turn; the start elevation 0 is below 1
        {310, 300, false, 270, 1},   // 90 px to the left
        {300, 260, false, 280, 41},  // movement adds up over the frames of one drag
        {350, 240, false, 230, 61},
        {700, 100, true, 230, 61},   // a new drag starting elsewhere does not jump
        {730, 80, false, 200, 81},
        {730, -100, false, 200, 179},  // far past the lower pole
        {730, -90, false, 200, 169},   // the overshoot is not remembered
        {730, 1000, false, 200, 1},    // far past the upper pole
        {730, 995, false, 200, 6},
    };
    for (const auto& step : steps) {
        controller.update(camera, step.x, step.y, step.reset);
        EXPECT_EQ(std::make_pair(controller.azimuth, controller.elevation), std::make_pair(step.azimuth, step.elevation))
            << step.x << "," << step.y;
        if (step.x == 310) expectAt({-0.1745f, 9.9985f, 0.0f});
        if (step.x == 350) expectAt({-6.7f, 4.8481f, -5.6219f});
        if (step.y == -100) expectAt({-0.0597f, -9.9985f, -0.164f});
    }
}

TEST_F(OrbitCameraTest, WheelNotchesTakeAThirtiethAndTheCameraFollowsTheCentre) {
    controller.initialise(2.0f, 90.0f, 90.0f);
    controller.update(camera, 0, 0, true);
    expectAt({2.0f, 0.0f, 0.0f});
    controller.initialise(10.0f, 135.0f, 91.0f);
    controller.update(camera, 400, 300, true);
    expectAt({7.07f, -0.1745f, -7.07f});

    for (float distance : {9.66667f, 9.34444f}) {
        controller.zoom(camera, 1.0f);
        EXPECT_NEAR(controller.distance, distance, 1e-4);
    }
    EXPECT_FLOAT_EQ(controller.azimuth, 135.0f);  // zooming keeps the angles
    controller.initialise(10.0f, 180.0f, 90.0f);
    controller.zoom(camera, -3.0f);
    EXPECT_NEAR(controller.distance, 11.0f, 1e-4);
    EXPECT_FLOAT_EQ(controller.lastwheel, -3.0f);
    expectAt({0.0f, 0.0f, -11.0f});

    // A zero wheel (the view's camera refresh) only moves the camera with its centre point.
    pivot->setPosition(vector3df(-4.8f, 0.5f, 4.0f));
    pivot->updateAbsolutePosition();
    controller.zoom(camera, 0.0f);
    expectAt({0.0f, 0.0f, -11.0f});
}

}  // namespace
