#pragma once

namespace dv::bench {

// Registers BM_Posting100k/raw, BM_Posting100k/engine and BM_Documents100k/pdf.
void registerPostingBenchmarks();

}  // namespace dv::bench
