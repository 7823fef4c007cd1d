#pragma once
// The functions that PostgreSqlEmitter's statements call, as one script of CREATE OR REPLACE
// FUNCTION statements (PL/pgSQL and SQL, 7-bit ASCII). db/postgresql/0.sql holds it verbatim; a
// database made otherwise gets it by running the script once.

#include <QString>

namespace sql {

QString PostgreSqlSupportScript();

} // namespace sql
