#pragma once

class DbConnection;

// The archive's tables (see README): ARCHIVEVERSION holds the version of the
// tables as one row; ARCHOFFER one row per offer file, ARCHPOS one per
// priced position. A database without them gets them; one of an older
// version is brought up to this one, step by step, each step with the
// version it leads to in one transaction (kArchiveMigrations). A database
// that holds other tables but no archive, or an archive of a newer program,
// is refused and left as it was: std::runtime_error (German).
inline constexpr int kArchiveSchemaVersion = 1;
void EnsureArchiveSchema(DbConnection& db, const char* place);
