#pragma once

namespace dv::bench {

// Registers BM_Posting100k/raw, BM_Posting100k/engine and, with `printouts`, BM_Documents100k/pdf.
void registerPostingBenchmarks(bool printouts = true);

}  // namespace dv::bench
