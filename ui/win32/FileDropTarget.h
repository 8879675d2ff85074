#pragma once

#include <ole2.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <vector>

using DroppedFiles = std::vector<std::filesystem::path>;

// Takes files dragged over the window from the shell: the cursor shows at once whether they would
// be taken, and a drop that is taken reaches dropped. It lives as long as its window, which
// registers it, so its count of references never deletes it.
class FileDropTarget final : public IDropTarget {
  public:
    FileDropTarget(std::function<bool(const DroppedFiles&)> accepts,
                   std::function<void(DroppedFiles)> dropped);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at,
                                   DWORD* effect) override;

  private:
    // Copy, or link when the source offers no copy: never a move, which would delete the file.
    DWORD Effect(DWORD offered) const;

    std::function<bool(const DroppedFiles&)> m_accepts;
    std::function<void(DroppedFiles)> m_dropped;
    DroppedFiles m_files;
};
