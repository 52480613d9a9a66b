#include "document/tender_stamp.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>

#include "document/recovery_file.h"

TenderStamp StampOf(const std::string& path) {
  TenderStamp stamp;
  struct stat info {};
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return stamp;
  if (fstat(fileno(f), &info) != 0 || !S_ISREG(info.st_mode)) {
    std::fclose(f);
    return stamp;
  }
  uint64_t hash = 14695981039346656037ull;
  unsigned char buffer[65536];
  size_t n;
  long long size = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    size += static_cast<long long>(n);
    for (size_t i = 0; i < n; ++i) hash = (hash ^ buffer[i]) * 1099511628211ull;
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return stamp;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  stamp.Size = size;
  stamp.MTime = static_cast<long long>(info.st_mtime);
  stamp.Hash = hex;
  return stamp;
}

TenderState CheckTender(const RecoveryHead& head) {
  const TenderStamp now = StampOf(head.TenderPath);
  if (now.Size < 0) return TenderState::Gone;
  return now.Size == head.TenderSize && now.MTime == head.TenderMTime && now.Hash == head.TenderHash
             ? TenderState::Unchanged
             : TenderState::Changed;
}
