// IAutoComplete2 on the form's fields, fed by an IEnumString of the archive's texts.
#include "app/win32/form_autocomplete.h"

#include <objbase.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "platform/win32/wide.h"
#include "results/archive_suggestions.h"

namespace {

constexpr size_t kFieldCount = sizeof kSuggestedTexts / sizeof kSuggestedTexts[0];
constexpr DWORD kOptions = ACO_AUTOSUGGEST | ACO_AUTOAPPEND | ACO_UPDOWNKEYDROPSLIST;

// Kept to tell each field's autocomplete that the texts changed; released at exit.
IAutoCompleteDropDown* g_dropDowns[kFieldCount] = {};

// One field's texts as the autocomplete reads them: a snapshot taken at
// Reset, so the worker archiving a series meanwhile never changes a list
// being read. Used on the user-interface thread only.
class FieldTexts final : public IEnumString {
public:
    explicit FieldTexts(int text) : text_(text) { Reset(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        const bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumString);
        *out = known ? static_cast<IEnumString*>(this) : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // Each text a CoTaskMemAlloc'ed copy that the caller frees.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, LPOLESTR* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_INVALIDARG;
        ULONG n = 0;
        for (; n < count && next_ < texts_.size(); ++n, ++next_) {
            const size_t bytes = (texts_[next_].size() + 1) * sizeof(wchar_t);
            out[n] = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
            if (!out[n]) break;
            std::memcpy(out[n], texts_[next_].c_str(), bytes);
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t skipped = count < texts_.size() - next_ ? count : texts_.size() - next_;
        next_ += skipped;
        return skipped == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        try {
            std::vector<std::wstring> texts;
            for (const std::string& text : ArchivedTexts().Texts(text_)) texts.push_back(platform::Wide(text));
            texts_.swap(texts);
        } catch (const std::bad_alloc&) {
            texts_.clear();  // nothing offered rather than an exception through COM
        }
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumString** out) override {
        if (!out) return E_POINTER;
        auto* copy = new (std::nothrow) FieldTexts(*this);
        *out = copy;
        return copy ? S_OK : E_OUTOFMEMORY;
    }

private:
    FieldTexts(const FieldTexts& other) : text_(other.text_), texts_(other.texts_), next_(other.next_) {}
    ~FieldTexts() = default;

    LONG references_ = 1;
    int text_;
    std::vector<std::wstring> texts_;
    size_t next_ = 0;
};

// False when Windows has no autocomplete to give (COM not there, the class
// not registered); the field then stays a plain edit.
bool Attach(HWND field, int text, IAutoCompleteDropDown** dropDown) {
    IAutoComplete2* complete = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER, IID_IAutoComplete2,
                                reinterpret_cast<void**>(&complete))))
        return false;
    auto* texts = new (std::nothrow) FieldTexts(text);
    // The autocomplete keeps itself and the texts alive as long as the field.
    if (texts && SUCCEEDED(complete->Init(field, texts, nullptr, nullptr))) {
        complete->SetOptions(kOptions);
        complete->QueryInterface(IID_IAutoCompleteDropDown, reinterpret_cast<void**>(dropDown));
    }
    if (texts) texts->Release();
    complete->Release();
    return true;
}

}  // namespace

void AttachFormAutocomplete(HWND mainWindow) {
    for (size_t i = 0; i < kFieldCount; ++i) {
        HWND field = GetDlgItem(mainWindow, IDC_FIRST_FIELD + kSuggestedTexts[i]);
        if (field && !Attach(field, kSuggestedTexts[i], &g_dropDowns[i])) return;
    }
}

void RefreshFormAutocomplete(int fieldId) {
    for (size_t i = 0; i < kFieldCount; ++i)
        if (IDC_FIRST_FIELD + kSuggestedTexts[i] == fieldId && g_dropDowns[i]) g_dropDowns[i]->ResetEnumerator();
}

void ReleaseFormAutocomplete() {
    for (IAutoCompleteDropDown*& dropDown : g_dropDowns) {
        if (dropDown) dropDown->Release();
        dropDown = nullptr;
    }
}
