// The event receiver's record of input: key and mouse-button state machines across frames,
// the wheel accumulator, the GUI click/change record, and what is ignored while a frame is
// being processed. GUI events need elements with IDs, so a null-driver device provides a GUI
// environment; the last test drives real mouse events through that device's GUI.

#include <gtest/gtest.h>

#include <irrlicht/irrlicht.h>

#include "app/input_event_receiver.h"

namespace {

using irr::SEvent;

SEvent keyEvent(irr::EKEY_CODE key, bool down, bool control = false, bool shift = false) {
    SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = key;
    event.KeyInput.PressedDown = down;
    event.KeyInput.Control = control;
    event.KeyInput.Shift = shift;
    return event;
}

SEvent mouseEvent(irr::EMOUSE_INPUT_EVENT type, int x = 0, int y = 0, float wheel = 0.0f) {
    SEvent event{};
    event.EventType = irr::EET_MOUSE_INPUT_EVENT;
    event.MouseInput.Event = type;
    event.MouseInput.X = x;
    event.MouseInput.Y = y;
    event.MouseInput.Wheel = wheel;
    return event;
}

SEvent guiEvent(irr::gui::EGUI_EVENT_TYPE type, irr::gui::IGUIElement* caller) {
    SEvent event{};
    event.EventType = irr::EET_GUI_EVENT;
    event.GUIEvent.EventType = type;
    event.GUIEvent.Caller = caller;
    return event;
}

// A device with the null driver and a few GUI elements whose IDs the receiver reports.
class InputEventReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        irr::SIrrlichtCreationParameters parameters;
        parameters.DriverType = irr::video::EDT_NULL;
        parameters.WindowSize = irr::core::dimension2du(800, 600);
        parameters.LoggingLevel = irr::ELL_NONE;
        parameters.EventReceiver = &receiver;
        device = irr::createDeviceEx(parameters);
        ASSERT_NE(device, nullptr);
        gui = device->getGUIEnvironment();
        gui->setUserEventReceiver(&receiver);
        button = gui->addButton(irr::core::rect<irr::s32>(10, 10, 110, 50), nullptr, 501, L"Map");
        otherButton = gui->addButton(irr::core::rect<irr::s32>(10, 60, 110, 100), nullptr, 502, L"Galaxy");
        list = gui->addListBox(irr::core::rect<irr::s32>(200, 10, 360, 110), nullptr, 101, true);
        list->addItem(L"All Stars");
        list->addItem(L"O-Stars");
        checkbox = gui->addCheckBox(true, irr::core::rect<irr::s32>(200, 150, 360, 170), nullptr, 103, L"Stalks");
        receiver.reset();
    }
    void TearDown() override {
        if (device != nullptr) device->drop();
    }

    InputEventReceiver receiver;
    irr::IrrlichtDevice* device = nullptr;
    irr::gui::IGUIEnvironment* gui = nullptr;
    irr::gui::IGUIButton* button = nullptr;
    irr::gui::IGUIButton* otherButton = nullptr;
    irr::gui::IGUIListBox* list = nullptr;
    irr::gui::IGUICheckBox* checkbox = nullptr;
};

TEST_F(InputEventReceiverTest, KeyHeldIsPressedForOneFrameThenDown) {
    EXPECT_FALSE(receiver.OnEvent(keyEvent(irr::KEY_KEY_W, true)));
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_W], PRESSED);
    EXPECT_TRUE(receiver.keyDown(irr::KEY_KEY_W));
    EXPECT_TRUE(receiver.keyPressed(irr::KEY_KEY_W));

    receiver.startFrame();
    receiver.endFrame();
    EXPECT_TRUE(receiver.keyDown(irr::KEY_KEY_W));
    EXPECT_FALSE(receiver.keyPressed(irr::KEY_KEY_W));

    // Auto-repeat of a held key keeps it DOWN, over any number of frames.
    receiver.OnEvent(keyEvent(irr::KEY_KEY_W, true));
    receiver.startFrame();
    receiver.endFrame();
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_W], DOWN);

    // Letting go: RELEASED for one frame (not down), then UP.
    receiver.OnEvent(keyEvent(irr::KEY_KEY_W, false));
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_W], RELEASED);
    EXPECT_FALSE(receiver.keyDown(irr::KEY_KEY_W));
    receiver.startFrame();
    receiver.endFrame();
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_W], UP);
}

TEST_F(InputEventReceiverTest, KeyPressedAndReleasedInOnePumpIsSeenAsUp) {
    receiver.OnEvent(keyEvent(irr::KEY_KEY_S, true));
    receiver.OnEvent(keyEvent(irr::KEY_KEY_S, false));
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_S], RELEASED);
    EXPECT_FALSE(receiver.keyDown(irr::KEY_KEY_S));
    EXPECT_FALSE(receiver.keyPressed(irr::KEY_KEY_S));
    receiver.startFrame();
    receiver.endFrame();
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_S], UP);

    // A release of a key that was never down leaves it UP.
    receiver.OnEvent(keyEvent(irr::KEY_KEY_Q, false));
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_Q], UP);

    // Released and pressed again within one pump: a new press.
    receiver.OnEvent(keyEvent(irr::KEY_KEY_S, true));
    receiver.startFrame();
    receiver.endFrame();
    receiver.OnEvent(keyEvent(irr::KEY_KEY_S, false));
    receiver.OnEvent(keyEvent(irr::KEY_KEY_S, true));
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_S], PRESSED);
}

TEST_F(InputEventReceiverTest, RepeatedDownKeepsKeyPressedButMakesMouseButtonDown) {
    receiver.OnEvent(keyEvent(irr::KEY_KEY_E, true));
    receiver.OnEvent(keyEvent(irr::KEY_KEY_E, true));
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_E], PRESSED);

    receiver.OnEvent(mouseEvent(irr::EMIE_RMOUSE_PRESSED_DOWN));
    EXPECT_EQ(receiver.mouse[2], PRESSED);
    receiver.OnEvent(mouseEvent(irr::EMIE_RMOUSE_PRESSED_DOWN));
    EXPECT_EQ(receiver.mouse[2], DOWN);
    EXPECT_EQ(receiver.mouse[0], UP);
}

TEST_F(InputEventReceiverTest, MouseButtonsFollowTheirOwnStates) {
    receiver.OnEvent(mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN, 40, 50));
    receiver.OnEvent(mouseEvent(irr::EMIE_MMOUSE_PRESSED_DOWN, 40, 50));
    EXPECT_EQ(receiver.mouse[0], PRESSED);
    EXPECT_EQ(receiver.mouse[1], PRESSED);
    EXPECT_EQ(receiver.mouse[2], UP);
    receiver.startFrame();
    receiver.endFrame();
    EXPECT_EQ(receiver.mouse[0], DOWN);
    EXPECT_EQ(receiver.mouse[1], DOWN);

    receiver.OnEvent(mouseEvent(irr::EMIE_LMOUSE_LEFT_UP, 40, 50));
    EXPECT_EQ(receiver.mouse[0], RELEASED);
    EXPECT_EQ(receiver.mouse[1], DOWN);
    // Pressed again before the frame saw the release: a new press.
    receiver.OnEvent(mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN, 40, 50));
    EXPECT_EQ(receiver.mouse[0], PRESSED);
    receiver.OnEvent(mouseEvent(irr::EMIE_LMOUSE_LEFT_UP, 40, 50));
    receiver.OnEvent(mouseEvent(irr::EMIE_MMOUSE_LEFT_UP, 40, 50));
    receiver.startFrame();
    receiver.endFrame();
    EXPECT_EQ(receiver.mouse[0], UP);
    EXPECT_EQ(receiver.mouse[1], UP);

    // A release without a press stays UP. A click (down and up in one pump) is RELEASED,
    // which is what the galaxy view's click-to-centre reads.
    receiver.OnEvent(mouseEvent(irr::EMIE_RMOUSE_LEFT_UP));
    EXPECT_EQ(receiver.mouse[2], UP);
    receiver.OnEvent(mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN));
    receiver.OnEvent(mouseEvent(irr::EMIE_LMOUSE_LEFT_UP));
    EXPECT_EQ(receiver.mouse[0], RELEASED);

    // Only a move changes the position.
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 321, 123));
    receiver.OnEvent(mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN, 5, 6));
    EXPECT_EQ(receiver.mousex, 321);
    EXPECT_EQ(receiver.mousey, 123);
}

TEST_F(InputEventReceiverTest, WheelNotchesAccumulateForOneFrame) {
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_WHEEL, 0, 0, 1.0f));
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_WHEEL, 0, 0, 1.0f));
    EXPECT_FLOAT_EQ(receiver.wheel, 2.0f);
    EXPECT_EQ(receiver.wheelmoved, 1);
    receiver.startFrame();
    receiver.endFrame();
    EXPECT_FLOAT_EQ(receiver.wheel, 0.0f);

    // Notches in opposite directions cancel; any other mouse event clears the moved flag.
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_WHEEL, 0, 0, 1.0f));
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_WHEEL, 0, 0, -1.0f));
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_WHEEL, 0, 0, -1.0f));
    EXPECT_FLOAT_EQ(receiver.wheel, -1.0f);
    EXPECT_EQ(receiver.wheelmoved, 1);
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 3, 4));
    EXPECT_EQ(receiver.wheelmoved, 0);
    EXPECT_FLOAT_EQ(receiver.wheel, -1.0f);
}

TEST_F(InputEventReceiverTest, ClickFollowedByHoverElsewhereIsNotActedUpon) {
    EXPECT_TRUE(receiver.OnEvent(guiEvent(irr::gui::EGET_BUTTON_CLICKED, button)));
    EXPECT_EQ(receiver.buttonclicked, 1);
    EXPECT_EQ(receiver.callerid, 501);

    EXPECT_FALSE(receiver.OnEvent(guiEvent(irr::gui::EGET_ELEMENT_HOVERED, otherButton)));
    EXPECT_EQ(receiver.buttonclicked, 0);
    EXPECT_EQ(receiver.callerid, 501);

    // A later click records its own caller.
    EXPECT_TRUE(receiver.OnEvent(guiEvent(irr::gui::EGET_BUTTON_CLICKED, otherButton)));
    EXPECT_EQ(receiver.buttonclicked, 1);
    EXPECT_EQ(receiver.callerid, 502);
}

TEST_F(InputEventReceiverTest, ListBoxAndCheckBoxChangesHaveTheirOwnFlags) {
    EXPECT_TRUE(receiver.OnEvent(guiEvent(irr::gui::EGET_BUTTON_CLICKED, button)));
    EXPECT_TRUE(receiver.OnEvent(guiEvent(irr::gui::EGET_LISTBOX_CHANGED, list)));
    EXPECT_EQ(receiver.listboxchanged, 1);
    EXPECT_EQ(receiver.buttonclicked, 0);
    EXPECT_EQ(receiver.checkboxchanged, 0);
    EXPECT_EQ(receiver.callerid, 101);

    receiver.listboxchanged = 0;  // the loop clears the flag when it acts
    EXPECT_TRUE(receiver.OnEvent(guiEvent(irr::gui::EGET_LISTBOX_SELECTED_AGAIN, list)));
    EXPECT_EQ(receiver.listboxchanged, 1);
    EXPECT_EQ(receiver.buttonclicked, 0);

    EXPECT_TRUE(receiver.OnEvent(guiEvent(irr::gui::EGET_CHECKBOX_CHANGED, checkbox)));
    EXPECT_EQ(receiver.checkboxchanged, 1);
    EXPECT_EQ(receiver.buttonclicked, 0);
    EXPECT_EQ(receiver.callerid, 103);
    // The list-box flag is left for the loop to clear.
    EXPECT_EQ(receiver.listboxchanged, 1);

    // Other GUI events record nothing and are not handled.
    EXPECT_FALSE(receiver.OnEvent(guiEvent(irr::gui::EGET_ELEMENT_FOCUSED, list)));
    EXPECT_EQ(receiver.callerid, 103);
}

TEST_F(InputEventReceiverTest, DuringAFrameOnlyGuiEventsAndModifiersAreRecorded) {
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 100, 200));
    receiver.startFrame();

    EXPECT_FALSE(receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 700, 500)));
    EXPECT_FALSE(receiver.OnEvent(mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN, 700, 500)));
    EXPECT_FALSE(receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_WHEEL, 700, 500, 1.0f)));
    receiver.OnEvent(keyEvent(irr::KEY_KEY_S, true, true, true));
    EXPECT_EQ(receiver.mousey, 200);
    EXPECT_EQ(receiver.mouse[0], UP);
    EXPECT_FLOAT_EQ(receiver.wheel, 0.0f);
    EXPECT_EQ(receiver.wheelmoved, 0);
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_S], UP);
    EXPECT_EQ(receiver.control, 1);
    EXPECT_EQ(receiver.shift, 1);

    EXPECT_TRUE(receiver.OnEvent(guiEvent(irr::gui::EGET_BUTTON_CLICKED, otherButton)));
    EXPECT_EQ(receiver.buttonclicked, 1);
    EXPECT_EQ(receiver.callerid, 502);

    // After the frame, recording resumes.
    receiver.endFrame();
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 700, 500));
    EXPECT_EQ(receiver.mousex, 700);
    receiver.OnEvent(keyEvent(irr::KEY_KEY_S, true, false, false));
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_S], PRESSED);
    EXPECT_EQ(receiver.control, 0);
    EXPECT_EQ(receiver.shift, 0);
    // The GUI record survives the end of the frame: the loop clears it.
    EXPECT_EQ(receiver.buttonclicked, 1);
}

TEST_F(InputEventReceiverTest, ModifiersFollowEveryKeyEvent) {
    receiver.OnEvent(keyEvent(irr::KEY_LCONTROL, true, true, false));
    EXPECT_EQ(receiver.control, 1);
    EXPECT_EQ(receiver.shift, 0);
    receiver.OnEvent(keyEvent(irr::KEY_KEY_C, true, true, false));
    EXPECT_EQ(receiver.control, 1);
    EXPECT_TRUE(receiver.keyPressed(irr::KEY_KEY_C));
    // Key-up events report the modifier state too.
    receiver.OnEvent(keyEvent(irr::KEY_KEY_C, false, false, true));
    EXPECT_EQ(receiver.control, 0);
    EXPECT_EQ(receiver.shift, 1);
    // Mouse events do not touch the modifiers.
    SEvent click = mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN);
    click.MouseInput.Control = true;
    click.MouseInput.Shift = false;
    receiver.OnEvent(click);
    EXPECT_EQ(receiver.control, 0);
    EXPECT_EQ(receiver.shift, 1);
}

TEST_F(InputEventReceiverTest, OtherEventKindsAreIgnored) {
    SEvent user{};
    user.EventType = irr::EET_USER_EVENT;
    EXPECT_FALSE(receiver.OnEvent(user));
    EXPECT_EQ(receiver.buttonclicked, 0);
    EXPECT_EQ(receiver.callerid, 0);
}

TEST_F(InputEventReceiverTest, ResetClearsEverything) {
    receiver.OnEvent(keyEvent(irr::KEY_KEY_W, true, true, true));
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 10, 20));
    receiver.OnEvent(mouseEvent(irr::EMIE_RMOUSE_PRESSED_DOWN));
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_WHEEL, 0, 0, 1.0f));
    receiver.OnEvent(guiEvent(irr::gui::EGET_LISTBOX_CHANGED, list));
    receiver.OnEvent(guiEvent(irr::gui::EGET_CHECKBOX_CHANGED, checkbox));
    receiver.OnEvent(guiEvent(irr::gui::EGET_BUTTON_CLICKED, button));
    receiver.startFrame();
    receiver.reset();
    EXPECT_TRUE(receiver.keys[irr::KEY_KEY_W] == UP && receiver.mouse[2] == UP && receiver.wheel == 0.0f);
    EXPECT_EQ(receiver.mousex + receiver.mousey + receiver.wheelmoved + receiver.buttonclicked + receiver.listboxchanged +
                  receiver.checkboxchanged + receiver.callerid + receiver.control + receiver.shift + receiver.processing,
              0);
}

// The engine's own path: mouse input posted to the device reaches the receiver first, then
// the GUI, whose button reports its click back to the receiver. During a frame the receiver
// ignores the mouse itself but still records the click the GUI derives from it.
TEST_F(InputEventReceiverTest, ClicksThroughTheEngineGuiReachTheRecord) {
    receiver.startFrame();
    device->postEventFromUser(mouseEvent(irr::EMIE_MOUSE_MOVED, 60, 80));
    device->postEventFromUser(mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN, 60, 80));
    device->postEventFromUser(mouseEvent(irr::EMIE_LMOUSE_LEFT_UP, 60, 80));
    EXPECT_EQ(receiver.buttonclicked, 1);
    EXPECT_EQ(receiver.callerid, 502);
    EXPECT_EQ(receiver.mouse[0], UP);
    EXPECT_EQ(receiver.mousex, 0);
    receiver.endFrame();
    receiver.buttonclicked = 0;

    // Between frames both are recorded: the button state and the list box's change (rows of
    // 20 px: y 40 is the second item).
    list->setItemHeight(20);
    device->postEventFromUser(mouseEvent(irr::EMIE_MOUSE_MOVED, 280, 40));
    device->postEventFromUser(mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN, 280, 40));
    device->postEventFromUser(mouseEvent(irr::EMIE_LMOUSE_LEFT_UP, 280, 40));
    EXPECT_EQ(receiver.mousey, 40);
    EXPECT_EQ(receiver.mouse[0], RELEASED);
    EXPECT_EQ(receiver.listboxchanged, 1);
    EXPECT_EQ(receiver.callerid, 101);
    EXPECT_EQ(receiver.buttonclicked, 0);
    EXPECT_EQ(list->getSelected(), 1);
}

}  // namespace
