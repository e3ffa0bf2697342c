// The event receiver's record of key and mouse-button states across frames, the wheel and the
// GUI record (its elements come from a null-driver device), and what a frame in progress ignores.

#include <gtest/gtest.h>

#include <tuple>

#include <irrlicht/irrlicht.h>

#include "app/input_event_receiver.h"

namespace {

irr::SEvent keyEvent(irr::EKEY_CODE key, bool down, bool control = false, bool shift = false) {
    irr::SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput = {0, key, down, shift, control};
    return event;
}

irr::SEvent mouseEvent(irr::EMOUSE_INPUT_EVENT type, int x = 0, int y = 0, float wheel = 0.0f) {
    irr::SEvent event{};
    event.EventType = irr::EET_MOUSE_INPUT_EVENT;
    event.MouseInput = {x, y, wheel, false, false, 0, type};
    return event;
}

class InputEventReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        irr::SIrrlichtCreationParameters parameters;
        parameters.DriverType = irr::video::EDT_NULL;
        parameters.LoggingLevel = irr::ELL_NONE;
        parameters.EventReceiver = &receiver;
        device = irr::createDeviceEx(parameters);
        ASSERT_NE(device, nullptr);
        irr::gui::IGUIEnvironment* gui = device->getGUIEnvironment();
        gui->setUserEventReceiver(&receiver);
        button = gui->addButton({10, 10, 110, 50}, nullptr, 501, L"Map");
        otherButton = gui->addButton({10, 60, 110, 100}, nullptr, 502, L"Galaxy");
        list = gui->addListBox({200, 10, 360, 110}, nullptr, 101, true);
        for (const wchar_t* item : {L"All Stars", L"O-Stars"}) list->addItem(item);
        checkbox = gui->addCheckBox(true, {200, 150, 360, 170}, nullptr, 103, L"Stalks");
        receiver.reset();
    }
    void TearDown() override { device->drop(); }

    // Plays a script: '+' and '-' press and release the button, '|' is a whole frame, '['
    // and ']' its start and end.
    void play(const char* script, int mouseButton) {
        using namespace irr;
        const EMOUSE_INPUT_EVENT events[2][3] = {{EMIE_LMOUSE_PRESSED_DOWN, EMIE_MMOUSE_PRESSED_DOWN, EMIE_RMOUSE_PRESSED_DOWN},
                                                 {EMIE_LMOUSE_LEFT_UP, EMIE_MMOUSE_LEFT_UP, EMIE_RMOUSE_LEFT_UP}};
        for (const char* c = script; *c != '\0'; ++c) {
            if (*c == '|' || *c == '[') receiver.startFrame();
            if (*c == '|' || *c == ']') receiver.endFrame();
            if (*c != '+' && *c != '-') continue;
            receiver.OnEvent(mouseButton < 0 ? keyEvent(KEY_KEY_W, *c == '+') : mouseEvent(events[*c == '-'][mouseButton]));
        }
    }

    InputEventReceiver receiver;
    irr::IrrlichtDevice* device = nullptr;
    irr::gui::IGUIElement *button = nullptr, *otherButton = nullptr, *checkbox = nullptr;
    irr::gui::IGUIListBox* list = nullptr;
};

TEST_F(InputEventReceiverTest, KeysAndMouseButtonsFollowTheirStateMachines) {
    // A repeated press keeps a key PRESSED (auto-repeat) but makes a mouse button DOWN.
    const struct { const char* script; ButtonState key, button; } table[] = {
        {"+", PRESSED, PRESSED},   {"+|", DOWN, DOWN},         {"++", PRESSED, DOWN},     {"+|+", DOWN, DOWN},
        {"+|-", RELEASED, RELEASED}, {"+|-|", UP, UP},         {"+-", RELEASED, RELEASED}, {"+-|", UP, UP},
        {"-", UP, UP},             {"+|-+", PRESSED, PRESSED}, {"[+]", UP, UP},           {"+[-]", DOWN, DOWN},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.script);
        receiver.reset();
        play(row.script, -1);
        EXPECT_EQ(std::make_tuple(receiver.keys[irr::KEY_KEY_W], receiver.keyDown(irr::KEY_KEY_W), receiver.keyPressed(irr::KEY_KEY_W)),
                  std::make_tuple(row.key, row.key == PRESSED || row.key == DOWN, row.key == PRESSED));
        for (int b = 0; b < 3; ++b) {
            receiver.reset();
            play(row.script, b);
            for (int other = 0; other < 3; ++other)
                EXPECT_EQ(receiver.mouse[other], other == b ? row.button : UP) << "button " << b << " / " << other;
        }
    }
}

TEST_F(InputEventReceiverTest, PositionWheelAndModifiers) {
    // Only a move changes the position; wheel notches add up until the frame ends, and any other
    // mouse event clears the moved flag.
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 321, 123));
    receiver.OnEvent(mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN, 5, 6));
    EXPECT_EQ(std::make_pair(receiver.mousex, receiver.mousey), std::make_pair(321, 123));
    for (float notch : {1.0f, 1.0f, -1.0f, 1.0f}) receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_WHEEL, 0, 0, notch));
    EXPECT_EQ(std::make_pair(receiver.wheel, int(receiver.wheelmoved)), std::make_pair(2.0f, 1));
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 3, 4));
    receiver.startFrame();
    receiver.endFrame();
    EXPECT_EQ(std::make_pair(receiver.wheel, int(receiver.wheelmoved)), std::make_pair(0.0f, 0));

    // Every key event, up or down, sets both modifiers; mouse events leave them alone.
    irr::SEvent click = mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN);
    click.MouseInput.Control = true;
    for (const auto& [event, modifiers] : {std::make_pair(keyEvent(irr::KEY_KEY_C, true, true, false), 10),
                                           std::make_pair(keyEvent(irr::KEY_KEY_C, false, false, true), 1),
                                           std::make_pair(click, 1)}) {
        receiver.OnEvent(event);
        EXPECT_EQ(receiver.control * 10 + receiver.shift, modifiers);
    }
    // During a frame the mouse is ignored, while modifiers are still recorded.
    receiver.startFrame();
    EXPECT_FALSE(receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 700, 500)));
    EXPECT_FALSE(receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_WHEEL, 700, 500, 1.0f)));
    receiver.OnEvent(keyEvent(irr::KEY_KEY_S, true, true, true));
    EXPECT_EQ(std::make_tuple(receiver.mousex, int(receiver.wheelmoved), receiver.wheel), std::make_tuple(3, 0, 0.0f));
    EXPECT_EQ(receiver.control * 10 + receiver.shift, 11);
}

TEST_F(InputEventReceiverTest, GuiEventsRecordTheirCallerAndFlag) {
    irr::gui::IGUIElement* none = nullptr;
    const struct { irr::gui::EGUI_EVENT_TYPE type; irr::gui::IGUIElement* const& caller; bool handled;
                   int clicked, listChanged, boxChanged, caller_id; } steps[] = {
        {irr::gui::EGET_BUTTON_CLICKED, button, true, 1, 0, 0, 501},
        // A click followed by a hover elsewhere is not acted upon.
        {irr::gui::EGET_ELEMENT_HOVERED, otherButton, false, 0, 0, 0, 501},
        {irr::gui::EGET_BUTTON_CLICKED, otherButton, true, 1, 0, 0, 502},
        {irr::gui::EGET_LISTBOX_CHANGED, list, true, 0, 1, 0, 101},
        {irr::gui::EGET_CHECKBOX_CHANGED, checkbox, true, 0, 1, 1, 103},
        {irr::gui::EGET_LISTBOX_SELECTED_AGAIN, list, true, 0, 1, 1, 101},
        {irr::gui::EGET_ELEMENT_FOCUSED, checkbox, false, 0, 1, 1, 101},
        {irr::gui::EGET_BUTTON_CLICKED, none, true, 1, 1, 1, 0},
    };
    receiver.startFrame();  // GUI events are recorded during a frame too
    for (const auto& step : steps) {
        SCOPED_TRACE(step.caller_id);
        irr::SEvent event{};
        event.EventType = irr::EET_GUI_EVENT;
        event.GUIEvent = {step.caller, nullptr, step.type};
        const bool handled = receiver.OnEvent(event);
        EXPECT_EQ(std::make_tuple(handled, int(receiver.buttonclicked), int(receiver.listboxchanged),
                                  int(receiver.checkboxchanged), receiver.callerid),
                  std::make_tuple(step.handled, step.clicked, step.listChanged, step.boxChanged, step.caller_id));
    }
    receiver.endFrame();  // the loop, not the frame's end, clears the record
    EXPECT_EQ(receiver.buttonclicked + receiver.listboxchanged + receiver.checkboxchanged, 3);
    receiver.OnEvent(mouseEvent(irr::EMIE_MOUSE_MOVED, 7, 8));
    receiver.OnEvent(keyEvent(irr::KEY_KEY_W, true, true, true));
    receiver.reset();
    EXPECT_EQ(receiver.buttonclicked + receiver.listboxchanged + receiver.checkboxchanged + receiver.callerid, 0);
    EXPECT_EQ(receiver.mousex + receiver.mousey + receiver.control + receiver.shift + receiver.processing, 0);
    EXPECT_EQ(receiver.keys[irr::KEY_KEY_W], UP);
}

// The engine's own path: mouse input posted to the device reaches the receiver first, then the
// GUI, whose button reports its click back. During a frame the receiver ignores the mouse
// itself but still records the click the GUI derives from it.
TEST_F(InputEventReceiverTest, ClicksThroughTheEngineGuiReachTheRecord) {
    auto clickAt = [&](int x, int y) {
        for (auto type : {irr::EMIE_MOUSE_MOVED, irr::EMIE_LMOUSE_PRESSED_DOWN, irr::EMIE_LMOUSE_LEFT_UP})
            device->postEventFromUser(mouseEvent(type, x, y));
    };
    receiver.startFrame();
    clickAt(60, 80);
    EXPECT_EQ(std::make_tuple(int(receiver.buttonclicked), receiver.callerid, receiver.mouse[0]), std::make_tuple(1, 502, UP));
    receiver.endFrame();
    list->setItemHeight(20);  // y 40 is the second item
    clickAt(280, 40);
    EXPECT_EQ(std::make_tuple(receiver.mousey, receiver.mouse[0], int(receiver.listboxchanged), receiver.callerid),
              std::make_tuple(40, RELEASED, 1, 101));
    EXPECT_EQ(list->getSelected(), 1);
}

}  // namespace
