// What the main window remembers about the current drop. The main window
// owns it; the drop thread reads and writes it only while it runs, and the
// main window touches it again only after "TransferCompleted".
#pragma once

#include <cstdint>
#include <string>

namespace app::engine {

struct DropState {
  // Index in the album vector of the album under the drop point, -1 none.
  int m_nOleDropAlbumIndex = -1;
  // Its EID; 0 or below means there is no target album (0 after the last
  // album was erased, -1 after Erase All).
  int64_t m_dwOleDropAlbumEID = 0;
  // The target album's name; the track phase names its pooled albums after
  // it and the folder phase keeps the last folder album's name here.
  std::u16string m_sOleDropAlbumName;
  // Pooled albums of the track phase since program start; never reset.
  int pooledAlbumCounter = 0;
  // From the drop target: some file was accepted / some file was refused.
  bool accepted = false;
  bool refused = false;
};

}  // namespace app::engine
