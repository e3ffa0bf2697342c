// The orbit camera around the centre point: right-drag turns it one degree per pixel, the
// elevation stays between 1 and 179 degrees, the wheel moves it a thirtieth of the distance
// per notch, and the camera node sits where the angles say, looking at the centre point.

#include <gtest/gtest.h>

#include <cmath>

#include <irrlicht/irrlicht.h>

#include "app/orbit_camera.h"

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

class OrbitCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        irr::SIrrlichtCreationParameters parameters;
        parameters.DriverType = irr::video::EDT_NULL;
        parameters.WindowSize = irr::core::dimension2du(800, 600);
        parameters.LoggingLevel = irr::ELL_NONE;
        device = irr::createDeviceEx(parameters);
        ASSERT_NE(device, nullptr);
        irr::scene::ISceneManager* scene = device->getSceneManager();
        // The centre point, away from the origin so that relative and absolute positions differ.
        pivot = scene->addSphereSceneNode(0.1f, 8, nullptr, -1, irr::core::vector3df(3.0f, -1.5f, 2.0f));
        pivot->updateAbsolutePosition();
        camera = scene->addCameraSceneNode(pivot, irr::core::vector3df(0, 10, 0), irr::core::vector3df(0, 0, 100), -1,
                                           true);
        camera->bindTargetAndRotation(true);
        controller.initialise(10.0f, 180.0f, 0.0f);
    }
    void TearDown() override {
        if (device != nullptr) device->drop();
    }

    // Checks the camera against r (sin az sin el, cos el, cos az sin el) from the centre point.
    void expectPlacedBy(double r, double azimuth, double elevation) {
        const irr::core::vector3df expected(static_cast<float>(r * std::sin(azimuth * kDegree) * std::sin(elevation * kDegree)),
                                            static_cast<float>(r * std::cos(elevation * kDegree)),
                                            static_cast<float>(r * std::cos(azimuth * kDegree) * std::sin(elevation * kDegree)));
        camera->updateAbsolutePosition();
        const irr::core::vector3df centre = pivot->getAbsolutePosition();
        EXPECT_LT(camera->getPosition().getDistanceFrom(expected), 1e-3f);
        EXPECT_LT(camera->getAbsolutePosition().getDistanceFrom(centre + expected), 1e-3f);
        EXPECT_LT(camera->getTarget().getDistanceFrom(centre), 1e-4f);
    }

    irr::IrrlichtDevice* device = nullptr;
    irr::scene::ISceneNode* pivot = nullptr;
    irr::scene::ICameraSceneNode* camera = nullptr;
    OrbitCameraController controller;
};

TEST_F(OrbitCameraTest, DraggingTurnsOneDegreePerPixel) {
    controller.update(camera, 400, 300, true);  // the drag starts: no turn
    EXPECT_FLOAT_EQ(controller.azimuth, 180.0f);
    // The starting elevation 0 lies below the lowest allowed value.
    EXPECT_FLOAT_EQ(controller.elevation, 1.0f);

    controller.update(camera, 310, 300, false);  // 90 px to the left
    EXPECT_FLOAT_EQ(controller.azimuth, 270.0f);
    EXPECT_FLOAT_EQ(controller.elevation, 1.0f);
    expectPlacedBy(10.0, 270.0, 1.0);

    // Movement adds up over the frames of one drag; the way back undoes it.
    controller.update(camera, 300, 260, false);
    controller.update(camera, 350, 240, false);
    EXPECT_FLOAT_EQ(controller.azimuth, 230.0f);
    EXPECT_FLOAT_EQ(controller.elevation, 61.0f);
    expectPlacedBy(10.0, 230.0, 61.0);
    controller.update(camera, 310, 300, false);

    // A new drag starting elsewhere does not jump.
    controller.update(camera, 700, 100, true);
    controller.update(camera, 730, 80, false);  // 30 px right, 20 px up
    EXPECT_FLOAT_EQ(controller.azimuth, 240.0f);
    EXPECT_FLOAT_EQ(controller.elevation, 21.0f);
}

TEST_F(OrbitCameraTest, ElevationStopsAtOneAndAtOneHundredSeventyNineDegrees) {
    controller.update(camera, 400, 500, true);
    controller.update(camera, 400, 410, false);  // 90 px up: level with the centre point
    EXPECT_FLOAT_EQ(controller.elevation, 91.0f);
    expectPlacedBy(10.0, 180.0, 91.0);

    controller.update(camera, 400, 0, false);  // far past the lower pole
    EXPECT_FLOAT_EQ(controller.elevation, 179.0f);
    expectPlacedBy(10.0, 180.0, 179.0);
    EXPECT_LT(camera->getPosition().Y, -9.9f);

    // The overshoot is not remembered: coming back starts from the limit at once.
    controller.update(camera, 400, 10, false);
    EXPECT_FLOAT_EQ(controller.elevation, 169.0f);

    controller.update(camera, 400, 1000, false);  // far past the upper pole
    EXPECT_FLOAT_EQ(controller.elevation, 1.0f);
    expectPlacedBy(10.0, 180.0, 1.0);
    EXPECT_GT(camera->getPosition().Y, 9.9f);
    controller.update(camera, 400, 995, false);
    EXPECT_FLOAT_EQ(controller.elevation, 6.0f);
}

TEST_F(OrbitCameraTest, OneWheelNotchShortensTheDistanceByAThirtieth) {
    controller.update(camera, 400, 300, true);
    controller.update(camera, 350, 220, false);
    const float azimuth = controller.azimuth;
    const float elevation = controller.elevation;

    controller.zoom(camera, 1.0f);
    EXPECT_NEAR(controller.distance, 10.0 - 10.0 / 30.0, 1e-4);
    EXPECT_FLOAT_EQ(controller.lastwheel, 1.0f);
    // Zooming keeps the angles, even though the mouse is not where the drag left it.
    EXPECT_FLOAT_EQ(controller.azimuth, azimuth);
    EXPECT_FLOAT_EQ(controller.elevation, elevation);
    expectPlacedBy(10.0 - 10.0 / 30.0, azimuth, elevation);

    // Each notch takes a thirtieth of what is left; negative notches move away.
    controller.zoom(camera, 1.0f);
    EXPECT_NEAR(controller.distance, 10.0 * (29.0 / 30.0) * (29.0 / 30.0), 1e-4);
    controller.initialise(10.0f, azimuth, elevation);
    controller.zoom(camera, -3.0f);
    EXPECT_NEAR(controller.distance, 11.0, 1e-4);
    EXPECT_FLOAT_EQ(controller.lastwheel, -3.0f);
    expectPlacedBy(11.0, azimuth, elevation);
    // A zero wheel (the view's camera refresh) changes nothing.
    controller.zoom(camera, 0.0f);
    expectPlacedBy(11.0, azimuth, elevation);
}

TEST_F(OrbitCameraTest, CameraFollowsTheCentrePointWhenItMoves) {
    controller.update(camera, 400, 300, true);
    controller.update(camera, 445, 210, false);  // azimuth 135, elevation 91
    expectPlacedBy(10.0, 135.0, 91.0);

    pivot->setPosition(irr::core::vector3df(-4.8f, 0.5f, 4.0f));
    pivot->updateAbsolutePosition();
    controller.zoom(camera, 0.0f);
    expectPlacedBy(10.0, 135.0, 91.0);

    // Quadrant check against fixed numbers: at azimuth 90 and elevation 90 the camera lies on +x.
    controller.initialise(2.0f, 90.0f, 90.0f);
    controller.update(camera, 0, 0, true);
    EXPECT_NEAR(camera->getPosition().X, 2.0f, 1e-4);
    EXPECT_NEAR(camera->getPosition().Y, 0.0f, 1e-4);
    EXPECT_NEAR(camera->getPosition().Z, 0.0f, 1e-4);
    // At azimuth 180 it lies on -z.
    controller.initialise(2.0f, 180.0f, 90.0f);
    controller.update(camera, 0, 0, true);
    EXPECT_NEAR(camera->getPosition().X, 0.0f, 1e-4);
    EXPECT_NEAR(camera->getPosition().Z, -2.0f, 1e-4);
}

}  // namespace
