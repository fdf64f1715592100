#pragma once
// TVorbex: the archiver as the dialog places it, with the compressing data step switched on.
#include "archiver/base_archiver.h"

class TVorbex : public TVXBaseArchiver {
public:
    explicit TVorbex(TComponent* owner);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Stored (0) for mode 0, deflate (8) otherwise.
    void UpdateCompressionMethod() override;
};

// Makes TVorbex (and TVXBaseArchiver) known to the form description reader.
void RegisterArchiverClasses();
