#pragma once

#include "runtime/GlobalVariables.h"

namespace dv {

// The variables a procedure binds by name for its expressions ("Loc:VP", "LOC:NazivSkupine").
// A procedure creates one as a local object; while it lives it is the innermost scope of the
// procedure thread (every procedure thread runs on a thread of its own), so that expressions
// compiled there find its names. Scopes nest as procedures call each other and must end in
// the reverse order, on the thread that made them.
class LocalVariables final : public NamedVariables {
  public:
    LocalVariables();
    ~LocalVariables() override;

    // The innermost scope of the calling thread, or nullptr.
    static const LocalVariables* innermost();

  private:
    LocalVariables* outer_;
};

}  // namespace dv
