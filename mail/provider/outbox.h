#pragma once

#include <filesystem>

// The per-user folder with the copies of attachments handed to the desktop's
// mail program: $XDG_CACHE_HOME/Tarvo_Redurir/outbox (default
// ~/.cache/...), readable by the user alone. The mail program reads a copy
// some time after it was handed over, and the caller may delete its own file
// at once, so copies stay a day.
std::filesystem::path OutboxFolder();

// Removes the message folders of `outbox` last changed more than a day
// before `now`; what cannot be removed stays for the next time.
void CleanOutbox(
    const std::filesystem::path& outbox,
    std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now());

// A new, private folder in `outbox` (created when missing) for one message's
// copies. Throws std::filesystem::filesystem_error when it cannot be made.
std::filesystem::path NewMessageFolder(const std::filesystem::path& outbox);
