// listVariables: every entry of one scope, read through the collection's
// enumerator one item at a time, with the thread's window messages handled
// between items.

#include "syshelper/InterfaceCall.h"
#include "syshelper/MessagePump.h"
#include "syshelper/Operations.h"
#include "syshelper/ScopeConversation.h"

namespace {

// IEnumVARIANT's method table: QueryInterface, AddRef, Release, Next, ...
constexpr int32_t nextSlot = 3;

struct ListingOutcome {
    int32_t count;
    HRESULT cause;
};

int32_t countOf(const TextList& entries)
{
    return static_cast<int32_t>(entries.size());
}

// Strings are used as they are; other types are copied (following a
// by-reference item) and changed to a string; an array gives an empty text.
Text itemText(const VARIANT& item)
{
    if (item.vt & VT_ARRAY) return Text();
    if (item.vt == VT_BSTR) return bstrToText(item.bstrVal);
    UniqueVariant copy;
    // MinGW declares the source without const; it is only read.
    if (FAILED(VariantCopyInd(copy.get(), const_cast<VARIANT*>(&item))) || (copy.get()->vt & VT_ARRAY)) return Text();
    UniqueVariant converted;
    if (FAILED(VariantChangeType(converted.get(), copy.get(), 0, VT_BSTR))) return Text();
    return bstrToText(converted.get()->bstrVal);
}

// Each Next finds an empty VT_I4 buffer and a zero count, so an item is
// never read twice and a string of the last item is not leaked.
void resetItem(UniqueVariant& item, uint32_t& fetched)
{
    item.put()->vt = VT_I4;
    item.get()->lVal = 0;
    fetched = 0;
}

// Calls Next for one item at a time until it answers anything but S_OK.
HRESULT appendItems(IEnumVARIANT* enumerator, TextList& entries)
{
    UniqueVariant item;
    uint32_t fetched = 0;
    int32_t status = S_OK;
    do {
        resetItem(item, fetched);
        status = callInterfaceMethod(addressOf(enumerator), nextSlot, 1u, addressOfBuffer(item.get()),
                                     addressOfVariable(fetched));
        if (fetched == 1) entries.push_back(itemText(*item.get()));
        processPendingMessages();
    } while (status == S_OK);
    return FAILED(status) ? status : S_OK;
}

// Slot 3 is called on the pointer that answers for IEnumVARIANT, so an
// object that is not an enumerator is never called at all.
HRESULT openEnumerator(const ScopeConversation& conversation, ComPtr<IEnumVARIANT>& enumerator)
{
    AutomationObject items;
    const HRESULT status = conversation.collection().callMethodForObject(L"_NewEnum", {}, items);
    if (FAILED(status)) return conversation.causeOf(status);
    return items.get()->QueryInterface(IID_IEnumVARIANT, enumerator.putVoid());
}

ListingOutcome listInto(bool userScope, TextList& entries)
{
    ScopeConversation conversation(userScope);
    if (!conversation.created()) return {-1, conversation.creationResult()};
    ComPtr<IEnumVARIANT> enumerator;
    HRESULT cause = openEnumerator(conversation, enumerator);
    if (enumerator) cause = appendItems(enumerator.get(), entries);
    return {countOf(entries), cause};
}

}  // namespace

int32_t listVariablesOperation(SystemHelper*, bool userScope, TextList& entries)
{
    const ListingOutcome outcome = listInto(userScope, entries);
    SetLastError(static_cast<DWORD>(outcome.cause));
    return outcome.count;
}
