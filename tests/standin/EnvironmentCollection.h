#pragma once
// The collection that "Environment" returns: one scope's variables, with the
// members and DISPIDs of the real object's type library.

#include "tests/standin/DispatchObject.h"
#include "tests/standin/EnvironmentScope.h"

namespace standin {

namespace collectionIds {
inline constexpr DISPID item = DISPID_VALUE;
inline constexpr DISPID count = 1;
inline constexpr DISPID length = 2;
inline constexpr DISPID newEnum = DISPID_NEWENUM;
inline constexpr DISPID remove = 0x3E9;
}  // namespace collectionIds

class EnvironmentCollection : public DispatchObject {
public:
    explicit EnvironmentCollection(Scope scope);

protected:
    HRESULT invokeMember(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result,
                         UINT* argumentError) override;

private:
    HRESULT readItem(const DISPPARAMS& params, VARIANT* result, UINT* argumentError);
    HRESULT writeItem(const DISPPARAMS& params, UINT* argumentError);
    HRESULT remove(const DISPPARAMS& params, UINT* argumentError);
    HRESULT count(const DISPPARAMS& params, VARIANT* result);
    HRESULT newEnum(const DISPPARAMS& params, VARIANT* result);

    Scope scope_;
};

}  // namespace standin
