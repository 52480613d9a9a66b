#pragma once

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/test_files.h"

// A stored message as Python's email package reads it (parse_mail.py beside
// this file, whose path the build gives as TARVO_PARSE_MAIL_SCRIPT): decoded
// headers, the text and the attachments' bytes.
struct ParsedMail {
  std::vector<std::string> headerNames;
  std::map<std::string, std::string> headers;  // decoded, UTF-8
  std::string body;
  std::vector<std::pair<std::string, std::string>> attachments;  // name, bytes
  int defects = -1;                                              // -1: not parsed

  std::string Header(const std::string& name) const {
    const auto it = headers.find(name);
    return it == headers.end() ? std::string() : it->second;
  }
};

namespace parsed_mail_detail {

inline std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
  return fields;
}

}  // namespace parsed_mail_detail

// `outDir` receives the decoded parts.
inline ParsedMail ParseMail(const std::string& messagePath, const std::string& outDir) {
  const std::string command =
      "python3 '" TARVO_PARSE_MAIL_SCRIPT "' '" + messagePath + "' '" + outDir + "'";
  ParsedMail mail;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return mail;
  std::string output;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  if (pclose(pipe) != 0) return mail;
  std::stringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> f = parsed_mail_detail::Fields(line);
    if (f.size() < 2) continue;
    if (f[0] == "Headers") {
      std::stringstream names(f[1]);
      for (std::string name; std::getline(names, name, ',');) mail.headerNames.push_back(name);
    } else if (f[0] == "Body") {
      mail.body = ReadFile(f[1]);
    } else if (f[0] == "Attachment" && f.size() == 3) {
      mail.attachments.emplace_back(f[1], ReadFile(f[2]));
    } else if (f[0] == "Defects") {
      mail.defects = std::stoi(f[1]);
    } else {
      mail.headers[f[0]] = f[1];
    }
  }
  return mail;
}
