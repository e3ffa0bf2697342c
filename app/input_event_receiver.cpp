#include "app/input_event_receiver.h"

namespace {

void buttonWentDown(ButtonState& state) { state = (state == UP || state == RELEASED) ? PRESSED : DOWN; }
void wentUp(ButtonState& state) {
    if (state != UP) state = RELEASED;
}
void advance(ButtonState& state) {
    if (state == RELEASED) state = UP;
    else if (state == PRESSED) state = DOWN;
}

}  // namespace

void InputEventReceiver::reset() {
    mouse.fill(UP);
    keys.fill(UP);
    buttonclicked = 0;
    callerid = 0;
    listboxchanged = 0;
    checkboxchanged = 0;
    control = 0;
    shift = 0;
    mousex = 0;
    mousey = 0;
    pointerseen = false;
    wheel = 0.0f;
    wheelmoved = 0;
    processing = 0;
}

bool InputEventReceiver::OnEvent(const irr::SEvent& event) {
    switch (event.EventType) {
    case irr::EET_GUI_EVENT: return onGuiEvent(event.GUIEvent);
    case irr::EET_KEY_INPUT_EVENT: onKeyEvent(event.KeyInput); return false;
    case irr::EET_MOUSE_INPUT_EVENT:
        if (!processing) onMouseEvent(event.MouseInput);
        return false;
    default: return false;
    }
}

bool InputEventReceiver::onGuiEvent(const irr::SEvent::SGUIEvent& event) {
    const irr::s32 id = event.Caller != nullptr ? event.Caller->getID() : 0;
    const irr::gui::EGUI_EVENT_TYPE type = event.EventType;
    bool handled = false;
    if (type == irr::gui::EGET_BUTTON_CLICKED) {
        callerid = id;
        buttonclicked = 1;
        handled = true;
    } else {
        buttonclicked = 0;
    }
    if (type == irr::gui::EGET_LISTBOX_CHANGED || type == irr::gui::EGET_LISTBOX_SELECTED_AGAIN) {
        callerid = id;
        listboxchanged = 1;
        handled = true;
    }
    if (type == irr::gui::EGET_CHECKBOX_CHANGED) {
        callerid = id;
        checkboxchanged = 1;
        handled = true;
    }
    return handled;
}

void InputEventReceiver::onKeyEvent(const irr::SEvent::SKeyInput& event) {
    control = event.Control ? 1 : 0;
    shift = event.Shift ? 1 : 0;
    const int key = event.Key;
    if (processing || key < 0 || key >= kKeyCount) return;
    ButtonState& state = keys[static_cast<std::size_t>(key)];
    if (event.PressedDown)
        state = state == DOWN ? DOWN : PRESSED;
    else
        wentUp(state);
}

void InputEventReceiver::onMouseEvent(const irr::SEvent::SMouseInput& input) {
    if (input.Event == irr::EMIE_MOUSE_MOVED) {
        mousex = input.X;
        mousey = input.Y;
        pointerseen = true;
    }
    if (input.Event == irr::EMIE_MOUSE_WHEEL) {
        wheel += input.Wheel;
        wheelmoved = 1;
    } else {
        wheelmoved = 0;
    }
    switch (input.Event) {
    case irr::EMIE_LMOUSE_PRESSED_DOWN: buttonWentDown(mouse[0]); break;
    case irr::EMIE_MMOUSE_PRESSED_DOWN: buttonWentDown(mouse[1]); break;
    case irr::EMIE_RMOUSE_PRESSED_DOWN: buttonWentDown(mouse[2]); break;
    case irr::EMIE_LMOUSE_LEFT_UP: wentUp(mouse[0]); break;
    case irr::EMIE_MMOUSE_LEFT_UP: wentUp(mouse[1]); break;
    case irr::EMIE_RMOUSE_LEFT_UP: wentUp(mouse[2]); break;
    default: break;
    }
}

void InputEventReceiver::endFrame() {
    processing = 0;
    for (ButtonState& state : keys) advance(state);
    for (ButtonState& state : mouse) advance(state);
    wheel = 0.0f;
}
