#pragma once
// Replaces the program's message boxes for the life of the object: every request is recorded
// and answered at once (with IDOK unless Answer says otherwise), so no test waits for a person.
#include <functional>
#include <string>
#include <vector>

#include "toolkit/message_box.h"

namespace support {

struct CapturedMessageBox {
    std::string Text;
    std::string Caption;
    UINT Flags;
};

class MessageBoxCapture {
public:
    MessageBoxCapture() {
        previous_ = SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT flags) {
            Boxes.push_back({text, caption, flags});
            if (OnShow) OnShow();
            return Answer;
        });
    }
    ~MessageBoxCapture() { SetMessageBoxHandler(previous_); }
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    std::vector<CapturedMessageBox> Boxes;
    std::function<void()> OnShow;  // runs while the box would be up
    int Answer = IDOK;             // the button every box is answered with (IDYES for a question)

private:
    TMessageBoxHandler previous_;
};

}  // namespace support
