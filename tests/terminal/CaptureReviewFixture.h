#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/TableFileNames.h"
#include "masterdata/FormScriptFixture.h"
#include "schema/ProgramGlobals.h"

namespace dv::test {

// The program on fresh tables with the capture review procedures started by UI scripts by
// their own names, and the capture file of the data directory read and written as bytes.
class CaptureReviewFixture : public FormScriptFixture {
  protected:
    CaptureReviewFixture() {
        clearProgramGlobals();
        for (const char* name :
             {"BrowseINVASCII", "UpdateINVASCI", "BrowseINVTPS", "IzpisiINVTPSizbrane", "Main"})
            procedures.add(name, procedureByName(name));
    }

    std::filesystem::path captureFile() const { return tableFileName("INVASCI"); }

    void writeCapture(const std::string& bytes) const {
        std::ofstream out(captureFile(), std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    std::string readCapture() const {
        std::ifstream in(captureFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

}  // namespace dv::test
