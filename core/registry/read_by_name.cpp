#include "core/registry/read_by_name.h"

namespace {
thread_local int g_recordNesting = 0;
}

RecordNestingScope::RecordNestingScope() {
  ++g_recordNesting;
}
RecordNestingScope::~RecordNestingScope() {
  --g_recordNesting;
}
bool RecordNestingScope::TooDeep() const {
  return g_recordNesting > kMaxRecordNesting;
}

std::unique_ptr<ZKW_IOF_Item> CreateIofItemByName(const char* utf8Name) {
  return CreateByName(GetIofItemRegistry(), Utf8ToWString(utf8Name));
}
