#pragma once
// SystemHelper reads, writes, removes, counts and lists environment variables
// of the user or machine scope through the "WScript.Shell" automation object,
// and answers four questions about the running process.
//
// Its whole state is its operation table; the slot order is fixed.
// Failures show only in the results; the cause of a failed environment
// operation is also left in the thread's last-error value as an HRESULT
// (E_ACCESSDENIED for a refused write, the creation error when the shell
// object is unavailable).

#include "syshelper/Text.h"

#include <windows.h>

#include <cstdint>
#include <memory>

class SystemHelper;

struct SystemHelperTable {
    void (*destroy)(SystemHelper* self);                                                           // 0
    SystemHelper* (*copy)(const SystemHelper* self);                                               // 1
    Text (*getVariable)(SystemHelper* self, bool userScope, const Text& name);                     // 2
    bool (*setVariable)(SystemHelper* self, bool userScope, const Text& name, const Text& value);  // 3
    bool (*removeVariable)(SystemHelper* self, bool userScope, const Text& name);                  // 4
    int32_t (*countVariables)(SystemHelper* self, bool userScope);                                 // 5
    int32_t (*listVariables)(SystemHelper* self, bool userScope, TextList& entries);               // 6
    int32_t (*getCommandLineArgs)(SystemHelper* self, TextList& args);                             // 7
    Text (*getCurrentDirectory)(SystemHelper* self);                                               // 8
    Text (*getModulePath)(SystemHelper* self, bool fullPath);                                      // 9
    Text (*getComSpec)(SystemHelper* self);                                                        // 10
};

struct SystemHelperDestroyer {
    void operator()(SystemHelper* helper) const;
};
using SystemHelperPtr = std::unique_ptr<SystemHelper, SystemHelperDestroyer>;

class SystemHelper {
public:
    // Makes no COM call: the first environment operation initialises COM.
    static SystemHelperPtr create();

    const SystemHelperTable& operations() const { return *table_; }

    SystemHelperPtr copy() const { return SystemHelperPtr(table_->copy(this)); }
    // Optional booleans left out count as false.
    Text getVariable(bool userScope, const Text& name) { return table_->getVariable(this, userScope, name); }
    bool setVariable(bool userScope, const Text& name, const Text& value)
    {
        return table_->setVariable(this, userScope, name, value);
    }
    bool removeVariable(bool userScope, const Text& name) { return table_->removeVariable(this, userScope, name); }
    int32_t countVariables(bool userScope = false) { return table_->countVariables(this, userScope); }
    int32_t listVariables(bool userScope, TextList& entries) { return table_->listVariables(this, userScope, entries); }
    int32_t listVariables(TextList& entries) { return listVariables(false, entries); }
    int32_t getCommandLineArgs(TextList& args) { return table_->getCommandLineArgs(this, args); }
    Text getCurrentDirectory() { return table_->getCurrentDirectory(this); }
    Text getModulePath(bool fullPath = false) { return table_->getModulePath(this, fullPath); }
    Text getComSpec() { return table_->getComSpec(this); }

private:
    explicit SystemHelper(const SystemHelperTable* table) : table_(table) {}
    friend struct SystemHelperFactory;

    const SystemHelperTable* table_;
};

// Reads a variable from the scope alone, with no process-environment
// fallback, so a caller can tell "absent" from "unreadable". Returns S_OK and
// the stored (unexpanded) value, or the failure HRESULT.
// Balances its own COM initialisation.
HRESULT readScopeVariable(bool userScope, const Text& name, Text& value);
