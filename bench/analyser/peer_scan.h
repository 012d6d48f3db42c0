// Debian's mp3val, the check's peer: it walks every frame of an MP3 file and
// reports what is wrong with it. The benchmark times it over the same files
// as the check, in the same run.
#pragma once

#include <vector>

#include "bench/analyser/corpus.h"

namespace bench {

// True when an mp3val program is on the search path.
bool PeerScannerInstalled();

// Runs one mp3val over all files (names on its standard input, its report
// discarded); false when it cannot be started or fails.
bool RunPeerScanner(const std::vector<CorpusFile>& files);

}  // namespace bench
