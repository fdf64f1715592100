// The form description reader over any text: it builds the components and properties the text
// describes, or refuses it with the reader's error (or the error of a property that refuses its
// value), and never fails in any other way.
#include <cstdint>
#include <string>

#include "core/exceptions.h"
#include "core/form_reader.h"
#include "support/sample_component.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        RegisterClass(TSampleComponent::StaticClass());
        RegisterIntegerConstant("clRed", 0x0000FF);
        return true;
    }();
    (void)registered;
    TSampleComponent root(nullptr);
    root.RegisterMethod("SampleChange", TNotifyEvent([](TObject*) {}));
    try {
        ReadFormDescription(root, std::string(reinterpret_cast<const char*>(data), size));
    } catch (const Exception&) {
    }
    return 0;
}
