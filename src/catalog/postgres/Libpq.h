#pragma once

#include <libpq-fe.h>

namespace vt {

// The functions of libpq this program calls, from the library loaded the first time a catalogue on a
// server is used. Linked in, libpq and what it brings (Kerberos, LDAP, TLS) took half the start-up time
// of every run, also of the many that only ever open a catalogue file; and a machine without libpq still
// runs the program on files.
struct Libpq {
    decltype(&::PQconnectdb) connectdb;
    decltype(&::PQfinish) finish;
    decltype(&::PQreset) reset;
    decltype(&::PQstatus) status;
    decltype(&::PQerrorMessage) errorMessage;
    decltype(&::PQsetNoticeProcessor) setNoticeProcessor;
    decltype(&::PQsetClientEncoding) setClientEncoding;
    decltype(&::PQtransactionStatus) transactionStatus;
    decltype(&::PQbackendPID) backendPID;
    decltype(&::PQconninfoParse) conninfoParse;
    decltype(&::PQconninfoFree) conninfoFree;
    decltype(&::PQfreemem) freemem;
    decltype(&::PQescapeLiteral) escapeLiteral;
    decltype(&::PQexec) exec;
    decltype(&::PQexecParams) execParams;
    decltype(&::PQputCopyData) putCopyData;
    decltype(&::PQputCopyEnd) putCopyEnd;
    decltype(&::PQgetResult) getResult;
    decltype(&::PQresultStatus) resultStatus;
    decltype(&::PQresultErrorField) resultErrorField;
    decltype(&::PQclear) clear;
    decltype(&::PQntuples) ntuples;
    decltype(&::PQnfields) nfields;
    decltype(&::PQfname) fname;
    decltype(&::PQftype) ftype;
    decltype(&::PQgetisnull) getisnull;
    decltype(&::PQgetvalue) getvalue;
    decltype(&::PQgetlength) getlength;
    decltype(&::PQcmdTuples) cmdTuples;
    decltype(&::PQenterPipelineMode) enterPipelineMode;
    decltype(&::PQexitPipelineMode) exitPipelineMode;
    decltype(&::PQpipelineSync) pipelineSync;
    decltype(&::PQsendQueryParams) sendQueryParams;
    decltype(&::PQsendQueryPrepared) sendQueryPrepared;
};

// libpq, loaded on the first call. Throws CatalogError, saying which library is missing, when it cannot
// be loaded.
const Libpq& libpq();

// libpq if it can be loaded, otherwise nullptr: for work that has a way on without it.
const Libpq* libpqIfLoadable();

}  // namespace vt
