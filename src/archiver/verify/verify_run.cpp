#include "archiver/verify/verify_run.h"

#include "archiver/deflate/entry_data.h"
#include "archiver/common.h"

unsigned TVerifyRun::Workers() const { return WorkersFor(context_.Workers); }

void TVerifyRun::Differs(const std::string& what) const {
    throw EVXException(vxerr::VerificationFailed, what, context_.Owner);
}
