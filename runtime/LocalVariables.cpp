#include "runtime/LocalVariables.h"

namespace dv {
namespace {

thread_local LocalVariables* innermostScope = nullptr;

}  // namespace

LocalVariables::LocalVariables() : outer_(innermostScope) {
    innermostScope = this;
}

LocalVariables::~LocalVariables() {
    if (innermostScope == this) {
        innermostScope = outer_;
        return;
    }
    // Ended out of order: taken out of the chain, so that no scope keeps pointing at it.
    for (LocalVariables* scope = innermostScope; scope != nullptr; scope = scope->outer_) {
        if (scope->outer_ == this) {
            scope->outer_ = outer_;
            return;
        }
    }
}

const LocalVariables* LocalVariables::innermost() {
    return innermostScope;
}

}  // namespace dv
