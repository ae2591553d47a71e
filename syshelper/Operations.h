#pragma once
// The operations behind the slots of SystemHelperTable, one file per group.

#include "syshelper/SystemHelper.h"

void destroyHelper(SystemHelper* self);
SystemHelper* copyHelper(const SystemHelper* self);

Text getVariableOperation(SystemHelper* self, bool userScope, const Text& name);
bool setVariableOperation(SystemHelper* self, bool userScope, const Text& name, const Text& value);
bool removeVariableOperation(SystemHelper* self, bool userScope, const Text& name);
int32_t countVariablesOperation(SystemHelper* self, bool userScope);
int32_t listVariablesOperation(SystemHelper* self, bool userScope, TextList& entries);

int32_t getCommandLineArgsOperation(SystemHelper* self, TextList& args);
Text getCurrentDirectoryOperation(SystemHelper* self);
Text getModulePathOperation(SystemHelper* self, bool fullPath);
Text getComSpecOperation(SystemHelper* self);
