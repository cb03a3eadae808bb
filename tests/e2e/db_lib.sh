# Real laboratory databases for the e2e tests: PostgreSQL and SQLite through unixODBC.
# Source it after lib.sh. Wine 8's odbc32 hands every ODBC call of a Windows
# program to the host's libodbc.so.2, so the connection strings name the
# host's drivers and, for SQLite, a Unix path. See docs/testing.md,
# "Databases in the tests".
ensure_databases

DB_DIR="$BUILD/db"
DB_PG_TEMPLATE="$DB_DIR/postgres-template"  # made once: initdb, role and database
# This test's cluster, a fresh copy of the template; one per slot of
# run_all.sh -j (a slot's prefix names it), so tests side by side never share one.
DB_PG_DATA="$DB_DIR/postgres$(basename "${WINEPREFIX:-}" | grep -o -- '-slot[0-9]*$')"
DB_PG_PASSWORD="orla-test-pw"
DB_PG_PORT=
DB_PG_BIN="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"

# unixODBC reads the drivers from here, for host tools and for Wine alike.
# Debian's own /etc/odbcinst.ini registers the same names, but with CommLog=1,
# which leaves a psqlodbc_*.log in /tmp for every connection. The bare driver
# file names resolve in each architecture's odbc folder, so the one file
# serves the 64-bit and the 32-bit libodbc.
export ODBCSYSINI="$DB_DIR/odbc"
mkdir -p "$ODBCSYSINI"
printf '%s\n' '[PostgreSQL Unicode]' 'Driver=psqlodbcw.so' '' '[SQLite3]' 'Driver=libsqlite3odbc.so' \
  > "$ODBCSYSINI/odbcinst.ini"
touch "$ODBCSYSINI/odbc.ini"

# PostgreSQL refuses to run as root; the tests do.
_db_as_owner() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

_db_pg_ctl() { _db_as_owner "$DB_PG_BIN/pg_ctl" -s "$@"; }

# A TCP port nobody listens on.
_db_free_port() {
  local p
  for p in $(shuf -i 20000-29999 -n 40); do
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { echo "$p"; return 0; }
  done
  return 1
}

# initdb takes seconds, a copy of its result a fraction of one. Password
# logins over TCP only (no Unix socket, whose path length is limited), the
# superuser with the same password as orla.
_db_pg_make_template() {
  local ready="$DB_PG_TEMPLATE.ready" pwfile="$DB_DIR/pgpass.txt" port
  [ "$(cat "$ready" 2>/dev/null)" = "$DB_PG_BIN" ] && return 0
  rm -rf "$DB_PG_TEMPLATE" "$ready"
  mkdir -p "$DB_PG_TEMPLATE" && chmod 700 "$DB_PG_TEMPLATE"
  echo "$DB_PG_PASSWORD" > "$pwfile"
  [ "$(id -u)" = 0 ] && chown postgres: "$DB_PG_TEMPLATE" "$pwfile"
  _db_as_owner "$DB_PG_BIN/initdb" -D "$DB_PG_TEMPLATE" -N -E UTF8 --no-locale -U postgres \
    -A scram-sha-256 --pwfile="$pwfile" >"$DB_DIR/initdb.log" 2>&1
  local rc=$?
  rm -f "$pwfile"
  ((rc == 0)) || { cat "$DB_DIR/initdb.log" >&2; return 1; }
  printf '%s\n' "listen_addresses = '127.0.0.1'" "unix_socket_directories = ''" "max_connections = 20" \
    "fsync = off" "synchronous_commit = off" "full_page_writes = off" >> "$DB_PG_TEMPLATE/postgresql.conf"
  port="$(_db_free_port)" &&
    _db_pg_ctl -D "$DB_PG_TEMPLATE" -l "$DB_PG_TEMPLATE/server.log" -o "-p $port" -w -t 60 start || return 1
  DB_PG_PORT="$port" _db_psql_as postgres postgres \
    "CREATE ROLE orla LOGIN PASSWORD '$DB_PG_PASSWORD'" "CREATE DATABASE orla OWNER orla"
  rc=$?
  _db_pg_ctl -D "$DB_PG_TEMPLATE" -m fast stop
  rm -f "$DB_PG_TEMPLATE/server.log"
  ((rc == 0)) && echo "$DB_PG_BIN" > "$ready"
}

_db_psql_as() {  # <role> <database> <sql...>
  local role="$1" database="$2" args=() sql
  shift 2
  for sql in "$@"; do args+=(-c "$sql"); done
  PGPASSWORD="$DB_PG_PASSWORD" PGCLIENTENCODING=UTF8 psql -X -q -A -t -F '|' -v ON_ERROR_STOP=1 \
    -h 127.0.0.1 -p "$DB_PG_PORT" -U "$role" -d "$database" "${args[@]}"
}

# Adds db_stop_postgres to the exit trap that e2e_begin set.
_db_chain_exit_trap() {
  local current
  eval "set -- $(trap -p EXIT)"
  current="${3:-}"
  case "$current" in *db_stop_postgres*) return 0 ;; esac
  trap "${current:+$current; }db_stop_postgres" EXIT
}

# A fresh cluster with the role and database orla, on a free port in
# DB_PG_PORT; call it after e2e_begin. Two tries: another run may take the
# port between the look and the start.
db_start_postgres() {
  [ -n "$DB_PG_BIN" ] || { echo "db_start_postgres: no PostgreSQL server installed" >&2; return 1; }
  # Tests side by side make the template once, one after the other.
  (flock -w 180 9 && _db_pg_make_template) 9>"$DB_DIR/template.lock" ||
    { echo "db_start_postgres: no template cluster" >&2; return 1; }
  db_stop_postgres
  local try
  for try in 1 2; do
    rm -rf "$DB_PG_DATA" && cp -a "$DB_PG_TEMPLATE" "$DB_PG_DATA" || return 1
    DB_PG_PORT="$(_db_free_port)" || continue
    if _db_pg_ctl -D "$DB_PG_DATA" -l "$DB_PG_DATA/server.log" -o "-p $DB_PG_PORT" -w -t 60 start; then
      _db_chain_exit_trap
      return 0
    fi
  done
  echo "db_start_postgres: the server did not start; $DB_PG_DATA/server.log:" >&2
  tail -n 5 "$DB_PG_DATA/server.log" >&2
  DB_PG_PORT=
  return 1
}

# Starts the cluster db_stop_postgres stopped, its data and port as they were.
db_resume_postgres() {
  _db_pg_ctl -D "$DB_PG_DATA" -l "$DB_PG_DATA/server.log" -o "-p $DB_PG_PORT" -w -t 60 start
}

# Stops this worktree's cluster by its postmaster.pid (one an aborted run
# left too); the data stays for a look until the next start.
db_stop_postgres() {
  [ -f "$DB_PG_DATA/postmaster.pid" ] && _db_pg_ctl -D "$DB_PG_DATA" -m fast stop 2>/dev/null
  return 0
}

# Rows of a query as role orla, unaligned, columns joined by "|", UTF-8.
db_psql() { _db_psql_as orla orla "$@"; }

db_postgres_connection() {  # [password]
  echo "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$DB_PG_PORT;Database=orla;Uid=orla;Pwd=${1-$DB_PG_PASSWORD}"
}

# The SQLite driver is a Unix library: it wants the Unix path (a Windows
# path becomes a file of that odd name in the working folder). It has no
# wide entry points, and unixODBC hands it the connection string with every
# UTF-16 unit cut to its low byte, so the path must be ASCII.
db_sqlite_connection() {  # <unix path of a .db file>
  local path
  path="$(realpath -m "$1")"
  if LC_ALL=C grep -q '[^ -~]' <<<"$path"; then
    echo "db_sqlite_connection: $path is not ASCII; unixODBC would mangle it" >&2
    return 1
  fi
  echo "Driver={SQLite3};Database=$path"
}

db_sqlite() {  # <db file> <sql>
  sqlite3 -batch -bail -list -separator '|' "$1" "$2"
}

# odbc_probe.exe under Wine in the run folder: rows as UTF-8 or the driver's
# diagnostics; its exit code. Through a file, not a pipe, as ui() does.
db_probe() {  # <connection string> <sql> [parameter...]
  local out="$E2E_RUN/odbc_probe.out" rc
  (cd "$E2E_RUN" && timeout 60 wine odbc_probe.exe "$@" >"$out" 2>&1)
  rc=$?
  tr -d '\r' <"$out"
  return "$rc"
}
