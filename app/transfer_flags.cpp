#include "app/transfer_flags.h"

namespace app {

TransferFlags& SharedTransferFlags() {
  static TransferFlags flags;
  return flags;
}

}  // namespace app
