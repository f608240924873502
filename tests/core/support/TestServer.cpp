#include "core/support/TestServer.h"

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"

#include <libpq-fe.h>

#include <gtest/gtest.h>

bool UseTestServer()
{
    return qEnvironmentVariableIsSet("QUORVEX_TEST_SERVER");
}

QString FreshTestServer()
{
    db::CloseIdleServerConnections();
    const QString conninfo = qEnvironmentVariable("QUORVEX_TEST_SERVER");
    PGconn* conn = PQconnectdb(conninfo.toUtf8().constData());
    EXPECT_EQ(PQstatus(conn), CONNECTION_OK) << PQerrorMessage(conn);
    PGresult* result = PQexec(conn, "SET client_min_messages = warning; DROP SCHEMA public CASCADE; CREATE SCHEMA public");
    EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << PQresultErrorMessage(result);
    PQclear(result);
    PQfinish(conn);
    return db::BuildServerConnectionString(conninfo);
}
