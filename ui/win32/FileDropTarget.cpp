#include "ui/win32/FileDropTarget.h"

#include <shellapi.h>

#include <string>
#include <utility>

namespace {

DroppedFiles FilesIn(IDataObject* data) {
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data == nullptr || FAILED(data->GetData(&format, &medium))) {
        return {};
    }
    DroppedFiles files;
    auto* drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::wstring name(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, index, name.data(), static_cast<UINT>(name.size())));
        files.emplace_back(name);
    }
    ReleaseStgMedium(&medium);
    return files;
}

}  // namespace

FileDropTarget::FileDropTarget(std::function<bool(const DroppedFiles&)> accepts,
                               std::function<void(DroppedFiles)> dropped)
    : m_accepts(std::move(accepts)), m_dropped(std::move(dropped)) {}

HRESULT FileDropTarget::QueryInterface(REFIID id, void** object) {
    if (id == IID_IUnknown || id == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    m_files = FilesIn(data);
    *effect = Effect(*effect);
    return S_OK;
}

// The dialog may have started or ended a run since the drag came in.
HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    *effect = Effect(*effect);
    return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
    m_files.clear();
    return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    m_files = FilesIn(data);
    *effect = Effect(*effect);
    if (*effect != DROPEFFECT_NONE) {
        m_dropped(std::move(m_files));
    }
    m_files.clear();
    return S_OK;
}

DWORD FileDropTarget::Effect(DWORD offered) const {
    if (!m_accepts(m_files)) {
        return DROPEFFECT_NONE;
    }
    return (offered & DROPEFFECT_COPY) != 0 ? DROPEFFECT_COPY : offered & DROPEFFECT_LINK;
}
