#pragma once
// Makes the stand-in's shell objects; refuses while the "Unavailable" switch
// is on, so an object cannot be created even by a factory obtained earlier.

#include "tests/standin/ComObject.h"

namespace standin {

void lockServer(bool lock);

class ClassFactory : public ComObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

}  // namespace standin
