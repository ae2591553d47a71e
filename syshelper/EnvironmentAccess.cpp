// getVariable, setVariable, removeVariable, countVariables and the
// scope-only read, each one self-contained conversation with the shell object.

#include "syshelper/Operations.h"
#include "syshelper/ProcessQueries.h"
#include "syshelper/ScopeConversation.h"

#include <cmath>

namespace {

const Text userScopeName = "user";
const Text systemScopeName = "system";

ConversationOutcome readItem(bool userScope, const Text& name, Text& value,
                             ThreadComInitialisation::Balance balance = ThreadComInitialisation::Balance::leftToDestroy)
{
    ScopeConversation conversation(userScope, balance);
    if (!conversation.created()) return {false, conversation.creationResult()};
    const HRESULT status = conversation.collection().readPropertyText(L"Item", {name}, value);
    return {true, conversation.causeOf(status)};
}

ConversationOutcome writeItem(bool userScope, const Text& name, const Text& value)
{
    ScopeConversation conversation(userScope);
    if (!conversation.created()) return {false, conversation.creationResult()};
    const HRESULT status = conversation.collection().writeProperty(L"Item", {name, value});
    return {true, conversation.causeOf(status)};
}

ConversationOutcome removeItem(bool userScope, const Text& name, double& answer)
{
    ScopeConversation conversation(userScope);
    if (!conversation.created()) return {false, conversation.creationResult()};
    const HRESULT status = conversation.collection().callMethodForNumber(L"Remove", {name}, answer);
    return {true, conversation.causeOf(status)};
}

ConversationOutcome readLength(bool userScope, double& length)
{
    ScopeConversation conversation(userScope);
    if (!conversation.created()) return {false, conversation.creationResult()};
    const HRESULT status = conversation.collection().readPropertyNumber(L"length", {}, length);
    return {true, conversation.causeOf(status)};
}

// Truncates toward zero into 64 bits and keeps the low half; a number that
// no 64-bit integer holds counts as 0.
int32_t lowHalfOfTruncated(double number)
{
    constexpr double limit = 9223372036854775808.0;  // 2^63
    if (!(std::fabs(number) < limit)) return 0;
    const auto truncated = static_cast<int64_t>(number);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(truncated) & 0xFFFFFFFFu));
}

// Left as the last step, after every object is released, so nothing run by
// a Release can overwrite it.
void reportCause(HRESULT cause)
{
    SetLastError(static_cast<DWORD>(cause));
}

}  // namespace

ScopeConversation::ScopeConversation(bool userScope, ThreadComInitialisation::Balance balance) : com_(balance)
{
    creation_ = AutomationObject::create(L"WScript.Shell", shell_);
    if (!created()) return;
    // Not tested here: an empty collection fails the operation's own call.
    environment_ = shell_.callMethodForObject(L"Environment", {userScope ? userScopeName : systemScopeName},
                                              collection_);
}

Text getVariableOperation(SystemHelper*, bool userScope, const Text& name)
{
    Text value;
    const ConversationOutcome outcome = readItem(userScope, name, value);
    if (outcome.created && value.empty()) value = processEnvironmentValue(name);
    reportCause(outcome.cause);
    return value;
}

bool setVariableOperation(SystemHelper*, bool userScope, const Text& name, const Text& value)
{
    const ConversationOutcome outcome = writeItem(userScope, name, value);
    reportCause(outcome.cause);
    return outcome.created && SUCCEEDED(outcome.cause);
}

bool removeVariableOperation(SystemHelper*, bool userScope, const Text& name)
{
    double answer = 0;
    const ConversationOutcome outcome = removeItem(userScope, name, answer);
    reportCause(outcome.cause);
    return outcome.created && std::fabs(answer) <= 1e-7;
}

int32_t countVariablesOperation(SystemHelper*, bool userScope)
{
    double length = 0;
    const ConversationOutcome outcome = readLength(userScope, length);
    reportCause(outcome.cause);
    return outcome.created ? lowHalfOfTruncated(length) : -1;
}

HRESULT readScopeVariable(bool userScope, const Text& name, Text& value)
{
    value.clear();
    return readItem(userScope, name, value, ThreadComInitialisation::Balance::onExit).cause;
}
