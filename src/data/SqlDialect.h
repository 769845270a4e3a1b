#pragma once

// The database engines the program works on.
enum class SqlDialect { Sqlite, Postgres };
