#include "archiver/vorbex.h"

TVorbex::TVorbex(TComponent* owner) : TVXBaseArchiver(owner) {
    // The base constructor could only reach the base class's method.
    UpdateCompressionMethod();
    SwitchDataStepOn();
}

const TClassInfo& TVorbex::StaticClass() {
    static const TClassInfo info = MakeCreatableClassInfo<TVorbex, TVXBaseArchiver>("TVorbex");
    return info;
}

void TVorbex::UpdateCompressionMethod() { SetCompressionMethod(CompressionMode() == 0 ? 0 : 8); }

void RegisterArchiverClasses() {
    RegisterClass(TVXBaseArchiver::StaticClass());
    RegisterClass(TVorbex::StaticClass());
}
