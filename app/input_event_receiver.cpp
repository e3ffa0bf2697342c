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
    wheel = 0.0f;
    wheelmoved = 0;
    processing = 0;
}

bool InputEventReceiver::OnEvent(const irr::SEvent& event) {
    bool handled = false;
    if (event.EventType == irr::EET_GUI_EVENT) {
        const irr::s32 id = event.GUIEvent.Caller != nullptr ? event.GUIEvent.Caller->getID() : 0;
        const irr::gui::EGUI_EVENT_TYPE type = event.GUIEvent.EventType;
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
    }

    if (event.EventType == irr::EET_KEY_INPUT_EVENT) {
        control = event.KeyInput.Control ? 1 : 0;
        shift = event.KeyInput.Shift ? 1 : 0;
        const int key = event.KeyInput.Key;
        if (!processing && key >= 0 && key < kKeyCount) {
            ButtonState& state = keys[static_cast<std::size_t>(key)];
            if (event.KeyInput.PressedDown)
                state = state == DOWN ? DOWN : PRESSED;
            else
                wentUp(state);
        }
    }

    if (event.EventType != irr::EET_MOUSE_INPUT_EVENT) return handled;
    if (processing) return false;

    const irr::SEvent::SMouseInput& input = event.MouseInput;
    if (input.Event == irr::EMIE_MOUSE_MOVED) {
        mousex = input.X;
        mousey = input.Y;
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
    return false;
}

void InputEventReceiver::endFrame() {
    processing = 0;
    for (ButtonState& state : keys) advance(state);
    for (ButtonState& state : mouse) advance(state);
    wheel = 0.0f;
}
