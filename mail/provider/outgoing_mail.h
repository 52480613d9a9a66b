#pragma once

#include <string>
#include <vector>

// A message as the provider hands it over: checked addresses, texts in UTF-8.
struct OutgoingMail {
  struct Attachment {
    std::string path;     // the caller's file, as the file system names it
    std::string name;     // the name the recipient sees, UTF-8, without folders
    std::string content;  // the bytes read from `path`
  };

  std::string from;  // empty: the mail system fills in the sender
  std::vector<std::string> to, cc, bcc;
  std::string subject;  // one line: control characters are already blanks
  std::string body;
  std::vector<Attachment> attachments;
  bool receiptRequested = false;
};
