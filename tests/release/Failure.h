// What a call raised: a CException's code and message, or "anything else".
#pragma once

#include <string>

#include "common/Exception.h"

namespace releasetest {

struct Failure {
    bool raised = false;
    bool other = false;   // not a CException
    unsigned long code = 0;
    std::string message;
};

template <class Body>
Failure CatchFailure(Body&& body) {
    Failure f;
    try {
        body();
    } catch (CException* e) {
        f.raised = true;
        f.code = e->Code();
        f.message = e->Message();
        delete e;
    } catch (...) {
        f.raised = true;
        f.other = true;
    }
    return f;
}

}  // namespace releasetest
