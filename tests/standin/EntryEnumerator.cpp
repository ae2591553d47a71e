#include "tests/standin/EntryEnumerator.h"

#include "tests/standin/Switches.h"
#include "syshelper/Unique.h"

#include <algorithm>
#include <new>
#include <optional>

namespace standin {
namespace {

const wchar_t* const arrayTexts[] = {L"first", L"second"};

HRESULT makeTextArray(VARIANT& target)
{
    UniqueSafeArray array(SafeArrayCreateVector(VT_BSTR, 0, 2));
    if (!array) return E_OUTOFMEMORY;
    for (LONG index = 0; index < 2; ++index) {
        UniqueBstr text(SysAllocString(arrayTexts[index]));
        if (!text) return E_OUTOFMEMORY;
        // SafeArrayPutElement copies the string, so ours is freed by its owner.
        const HRESULT status = SafeArrayPutElement(array.get(), &index, text.get());
        if (FAILED(status)) return status;
    }
    target.vt = VT_ARRAY | VT_BSTR;
    target.parray = array.release();
    return S_OK;
}

// Fills a VARIANT that the caller owns from then on.
HRESULT deliver(const EnumItem& item, VARIANT& target)
{
    switch (item.kind) {
    case EnumItem::Kind::Number:
        target.vt = VT_I4;
        target.lVal = nonStringItemValue;
        return S_OK;
    case EnumItem::Kind::TextArray:
        return makeTextArray(target);
    case EnumItem::Kind::Text:
        break;
    }
    target.bstrVal = SysAllocStringLen(item.text.data(), static_cast<UINT>(item.text.size()));
    if (!target.bstrVal) return E_OUTOFMEMORY;
    target.vt = VT_BSTR;
    return S_OK;
}

// With FailNextAfter = N, handing out the item at position N or later fails.
bool failsAt(size_t position)
{
    const std::optional<DWORD> limit = switchValue(failNextAfter);
    return limit && position >= *limit;
}

}  // namespace

HRESULT EntryEnumerator::Next(ULONG count, VARIANT* items, ULONG* fetched)
{
    if (fetched) *fetched = 0;
    if (count == 0) return S_OK;
    if (!items) return E_POINTER;
    if (!fetched && count > 1) return E_INVALIDARG;
    for (ULONG index = 0; index < count; ++index) VariantInit(&items[index]);

    const ULONG wanted = static_cast<ULONG>(std::min<size_t>(count, remaining()));
    for (ULONG index = 0; index < wanted; ++index) {
        if (failsAt(position_)) return E_FAIL;
        const HRESULT status = deliver((*items_)[position_], items[index]);
        if (FAILED(status)) return status;
        ++position_;
        if (fetched) ++*fetched;
    }
    return wanted == count ? S_OK : S_FALSE;
}

HRESULT EntryEnumerator::Skip(ULONG count)
{
    const size_t skipped = std::min<size_t>(count, remaining());
    position_ += skipped;
    return skipped == count ? S_OK : S_FALSE;
}

HRESULT EntryEnumerator::Reset()
{
    position_ = 0;
    return S_OK;
}

HRESULT EntryEnumerator::Clone(IEnumVARIANT** copy)
{
    if (!copy) return E_POINTER;
    *copy = new (std::nothrow) EntryEnumerator(items_, position_);
    return *copy ? S_OK : E_OUTOFMEMORY;
}

std::shared_ptr<const EnumItems> enumItemsFor(const std::vector<std::wstring>& entries)
{
    auto items = std::make_shared<EnumItems>();
    if (switchOn(enumNonStringItem)) items->push_back({EnumItem::Kind::Number, L""});
    if (switchOn(enumArrayItem)) items->push_back({EnumItem::Kind::TextArray, L""});
    for (const std::wstring& entry : entries) items->push_back({EnumItem::Kind::Text, entry});
    return items;
}

}  // namespace standin
