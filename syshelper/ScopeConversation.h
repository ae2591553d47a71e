#pragma once
// The opening every environment operation shares: initialise COM for the
// thread, create "WScript.Shell" and open the environment collection of one
// scope. Both objects are released, collection first, when it ends.

#include "syshelper/Automation.h"

// CoInitialize for the calling thread. The helper's operations leave it
// unbalanced on purpose (the helper's destroy balances one of them, and the
// GUI thread stays initialised anyway); a caller outside the helper balances it.
class ThreadComInitialisation {
public:
    enum class Balance { leftToDestroy, onExit };

    explicit ThreadComInitialisation(Balance balance) : balance_(balance), result_(CoInitialize(nullptr)) {}
    ThreadComInitialisation(const ThreadComInitialisation&) = delete;
    ThreadComInitialisation& operator=(const ThreadComInitialisation&) = delete;
    ~ThreadComInitialisation()
    {
        if (balance_ == Balance::onExit && SUCCEEDED(result_)) CoUninitialize();
    }

private:
    Balance balance_;
    HRESULT result_;
};

class ScopeConversation {
public:
    explicit ScopeConversation(bool userScope,
                               ThreadComInitialisation::Balance balance = ThreadComInitialisation::Balance::leftToDestroy);

    bool created() const { return SUCCEEDED(creation_); }
    HRESULT creationResult() const { return creation_; }
    const AutomationObject& collection() const { return collection_; }

    // The cause to report for a failed call on the collection: the failure
    // of "Environment" when that left no collection to call.
    HRESULT causeOf(HRESULT callResult) const
    {
        return collection_.empty() && FAILED(environment_) ? environment_ : callResult;
    }

private:
    // Declared first so that it ends after both objects are released.
    ThreadComInitialisation com_;
    AutomationObject shell_;
    AutomationObject collection_;
    HRESULT creation_ = E_FAIL;
    HRESULT environment_ = E_FAIL;
};

// What one operation's conversation came to, for its result value and for
// the thread's last-error value.
struct ConversationOutcome {
    bool created = false;
    HRESULT cause = S_OK;
};
