#!/usr/bin/env python3
"""Parses a stored e-mail with Python's email package for the tests.

Usage: parse_mail.py MESSAGE OUTDIR
Prints tab-separated lines: "Headers" with the header names in order, one
line per header with its decoded value, "Body" with the file holding the
decoded text, one "Attachment" line per attachment with its decoded file name
and the file holding its decoded bytes, and "Defects" with the number of
defects the parser found.
"""
import email
import email.policy
import os
import sys


def main(message_path, out_dir):
    with open(message_path, "rb") as f:
        msg = email.message_from_binary_file(f, policy=email.policy.default)
    defects = len(msg.defects)
    print("Headers\t" + ",".join(msg.keys()))
    for name, value in msg.items():
        print(name + "\t" + str(value).replace("\n", "\\n"))
    body = msg.get_body(preferencelist=("plain",))
    if body is not None:
        defects += len(body.defects)
        path = os.path.join(out_dir, "body.txt")
        with open(path, "w", encoding="utf-8", newline="") as out:
            out.write(body.get_content())
        print("Body\t" + path)
    for i, part in enumerate(msg.iter_attachments()):
        defects += len(part.defects)
        path = os.path.join(out_dir, "attachment-%d" % i)
        with open(path, "wb") as out:
            out.write(part.get_content())
        print("Attachment\t" + (part.get_filename() or "") + "\t" + path)
    print("Defects\t%d" % defects)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
