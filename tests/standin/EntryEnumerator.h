#pragma once
// The enumerator that "_NewEnum" hands out: a snapshot of the scope's
// "NAME=value" entries taken when it is made, optionally preceded by items of
// other types that the test switches ask for.

#include "tests/standin/ComObject.h"

#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

namespace standin {

struct EnumItem {
    enum class Kind { Text, Number, TextArray };
    Kind kind;
    std::wstring text;
};

using EnumItems = std::vector<EnumItem>;

class EntryEnumerator : public ComObject<IEnumVARIANT> {
public:
    explicit EntryEnumerator(std::shared_ptr<const EnumItems> items, size_t position = 0)
        : items_(std::move(items)), position_(position)
    {
    }

    // A Next that fails part-way leaves the items it already filled (counted
    // in `fetched`) to the caller, like any delivered item.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

private:
    size_t remaining() const { return items_->size() - position_; }

    std::shared_ptr<const EnumItems> items_;
    size_t position_;
};

// The items for a new enumerator: the switches' extra items, then the entries.
std::shared_ptr<const EnumItems> enumItemsFor(const std::vector<std::wstring>& entries);

// What "_NewEnum" returns when it should not be an enumerator at all.
class PlainObject : public ComObject<IUnknown> {
};

}  // namespace standin
