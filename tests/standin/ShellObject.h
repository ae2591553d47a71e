#pragma once
// The stand-in's "WScript.Shell": only its "Environment" property, which is
// all the tool asks of the real object.

#include "tests/standin/DispatchObject.h"

namespace standin {

inline constexpr DISPID environmentId = 0xC8;

class ShellObject : public DispatchObject {
public:
    ShellObject();

protected:
    HRESULT invokeMember(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result,
                         UINT* argumentError) override;
};

}  // namespace standin
