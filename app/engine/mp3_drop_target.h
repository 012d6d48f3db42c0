// CMp3DropTarget: the OLE drop target of the main window's album/track
// list. While files are dragged over the list it drives the list's drag
// feedback; on the drop it reads the CF_HDROP names and lets DropCollector
// (drop_collector.h) queue them, then the main window starts the transfer.
// The main window registers it with RegisterDragDrop(list, target) and
// revokes it when the list goes.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/engine/drop_host.h"
#include "app/engine/job_lists.h"
#include "app/transfer_flags.h"

namespace app::engine {

class CMp3DropTarget final : public IDropTarget {
 public:
  explicit CMp3DropTarget(DropHost& host, JobLists& lists = SharedJobLists(),
                          TransferFlags& flags = SharedTransferFlags());

  // IUnknown. The object starts with one reference, the creator's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDropTarget: forwards to the operations below, never throws.
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

  // The drop target's operations (points in screen coordinates).
  DWORD OnDragEnter(IDataObject* data, DWORD keyState, POINT point);
  DWORD OnDragOver(IDataObject* data, DWORD keyState, POINT point);
  void OnDragLeave();
  // True when handled.
  bool OnDrop(IDataObject* data, DWORD effect, POINT point);
  // 1 when the file list was read, 0 when the data holds none.
  int ReadHdropData(IDataObject* data);

  // The CF_HDROP names of a data object; false when it offers none.
  static bool OffersFiles(IDataObject* data);
  static bool ReadDroppedNames(IDataObject* data, std::vector<std::u16string>& names);

 private:
  ~CMp3DropTarget() = default;
  bool InsideList(POINT screen, POINT& client) const;

  DropHost& host_;
  JobLists& lists_;
  TransferFlags& flags_;
  std::atomic<ULONG> refs_{1};
  bool offersFiles_ = false;  // what DragEnter found, for DragOver
};

}  // namespace app::engine
