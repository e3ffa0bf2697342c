#pragma once
// The program's one event receiver. It acts on nothing: it records input as polled state
// (four-valued key and mouse button states, mouse position, wheel, modifiers, and the ID of
// the GUI element behind the last click, list-box change or check-box change). The frame loop
// brackets each frame with startFrame() and endFrame(); keyboard and mouse events that arrive
// during the frame are ignored, GUI events are recorded at any time.

#include <array>
#include <cstdint>

#include <irrlicht/irrlicht.h>

enum ButtonState : std::int32_t {
    UP = 0,        // not held
    DOWN = 1,      // held
    PRESSED = 2,   // went down since the last frame ended
    RELEASED = 3,  // went up since the last frame ended
};

class InputEventReceiver : public irr::IEventReceiver {
public:
    static constexpr int kKeyCount = 255;

    bool OnEvent(const irr::SEvent& event) override;

    // Sets every state, flag, the position and the wheel to 0.
    void reset();
    void startFrame() { processing = 1; }
    // Ends the frame: resumes recording, turns PRESSED into DOWN and RELEASED into UP, and
    // empties the wheel.
    void endFrame();

    bool keyDown(int key) const {
        return key >= 0 && key < kKeyCount && (keys[key] == DOWN || keys[key] == PRESSED);
    }
    bool keyPressed(int key) const { return key >= 0 && key < kKeyCount && keys[key] == PRESSED; }

    // Mouse buttons: left, middle, right.
    std::array<ButtonState, 3> mouse{UP, UP, UP};
    std::array<ButtonState, kKeyCount> keys{};
    std::uint8_t buttonclicked = 0;
    std::int32_t callerid = 0;
    std::uint8_t listboxchanged = 0;
    std::uint8_t checkboxchanged = 0;
    std::uint8_t control = 0;
    std::uint8_t shift = 0;
    std::int32_t mousex = 0;
    std::int32_t mousey = 0;
    bool pointerseen = false;  // the pointer has moved over the window, so mousex/mousey are real
    float wheel = 0.0f;
    std::uint8_t wheelmoved = 0;
    std::int32_t processing = 0;

private:
    bool onGuiEvent(const irr::SEvent::SGUIEvent& event);
    void onKeyEvent(const irr::SEvent::SKeyInput& event);
    void onMouseEvent(const irr::SEvent::SMouseInput& input);
};
