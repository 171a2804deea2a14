-- Catalog views for PostgreSQL: the column, object and user tables that the library's
-- catalog and permission queries read (syscolumns, sysobjects, sysusers), in a schema
-- dbo, over the tables and views this session sees on its search path. Apply once per
-- database, for instance with
--   kvlsql --driver PostgreSQL --server HOST --db DB --uid USER --pwd PWD -f catalog-postgresql.sql
-- It can be applied again at any time (after an update of this file, say).
--
-- Type codes, as the library numbers column types (length in bytes, prec, scale):
--   int2 6 (2, 5, 0)            int4 7 (4, 10, 0)          int8 24 (9, 19, 0)
--   numeric(p,s) 24 (5 to 17, p, s)                     numeric without p 8
--   float8 8 (8, 53, NULL)      float4 23 (4, 24, NULL)    money 11 (8, 19, 4)
--   bool 16 (1, 1, 0)           char(n) 1 (n, n, NULL)     varchar(n) 2 (n, n, NULL)
--   date, timestamp, timestamp with time zone 12 (their size)   bytea 4 (2147483647)
--   text, varchar without n and every other type 19 (2147483647): unbounded text
-- A domain is described by its base type.

CREATE SCHEMA IF NOT EXISTS dbo;

-- Tables and views, excluding the system's own; id is the object's oid as a signed
-- 32-bit number. Prefixes are tested with starts_with, not LIKE: a backslash escape in a
-- literal reads differently when standard_conforming_strings is off.
CREATE OR REPLACE VIEW dbo.sysobjects AS
SELECT c.oid::int4 AS id,
       c.relname::varchar(128) AS name,
       CASE WHEN c.relkind IN ('v', 'm') THEN 'V' ELSE 'U' END::char(2) AS xtype,
       CASE WHEN c.relkind IN ('v', 'm') THEN 'V' ELSE 'U' END::char(2) AS type
FROM pg_catalog.pg_class c
JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace
WHERE c.relkind IN ('r', 'v', 'm', 'p', 'f')
  AND n.nspname NOT IN ('pg_catalog', 'information_schema')
  AND NOT pg_catalog.starts_with(n.nspname, 'pg_toast')
  AND pg_catalog.pg_table_is_visible(c.oid);

CREATE OR REPLACE VIEW dbo.syscolumns AS
WITH field AS (
    SELECT a.attrelid, a.attnum, a.attname,
           CASE WHEN t.typtype = 'd' THEN b.typname ELSE t.typname END AS base,
           CASE WHEN t.typtype = 'd' THEN t.typtypmod ELSE a.atttypmod END AS typmod,
           CASE WHEN t.typtype = 'd' THEN b.typlen ELSE t.typlen END AS typlen
    FROM pg_catalog.pg_attribute a
    JOIN pg_catalog.pg_type t ON t.oid = a.atttypid
    LEFT JOIN pg_catalog.pg_type b ON b.oid = t.typbasetype
    WHERE a.attnum > 0 AND NOT a.attisdropped
), kind AS (
    SELECT f.*,
           CASE
               WHEN base = 'int2' THEN 'smallint'
               WHEN base = 'int4' THEN 'int'
               WHEN base = 'int8' THEN 'bigint'
               WHEN base = 'numeric' AND typmod >= 4 THEN 'decimal'
               WHEN base IN ('numeric', 'float8') THEN 'float'
               WHEN base = 'float4' THEN 'real'
               WHEN base = 'money' THEN 'money'
               WHEN base = 'bool' THEN 'bit'
               WHEN base = 'bpchar' AND typmod >= 4 THEN 'char'
               WHEN base = 'varchar' AND typmod >= 4 THEN 'varchar'
               WHEN base IN ('date', 'timestamp', 'timestamptz') THEN 'date'
               WHEN base = 'bytea' THEN 'varbinary'
               ELSE 'text'
           END AS kind,
           -- numeric(p,s) keeps p in the upper and s in the lower 16 bits, past a header of 4
           ((typmod - 4) >> 16) & 65535 AS p,
           (typmod - 4) & 65535 AS s
    FROM field f
)
SELECT k.attrelid::int4 AS id,
       k.attname::varchar(128) AS name,
       k.attnum AS colid,
       CASE k.kind
           WHEN 'smallint' THEN 6 WHEN 'int' THEN 7 WHEN 'bigint' THEN 24
           WHEN 'decimal' THEN 24 WHEN 'float' THEN 8 WHEN 'real' THEN 23
           WHEN 'money' THEN 11 WHEN 'bit' THEN 16 WHEN 'char' THEN 1
           WHEN 'varchar' THEN 2 WHEN 'date' THEN 12 WHEN 'varbinary' THEN 4
           ELSE 19
       END::int2 AS usertype,
       CASE k.kind
           WHEN 'smallint' THEN 2 WHEN 'int' THEN 4 WHEN 'bigint' THEN 9
           WHEN 'decimal' THEN CASE WHEN k.p <= 9 THEN 5 WHEN k.p <= 19 THEN 9
                                    WHEN k.p <= 28 THEN 13 ELSE 17 END
           WHEN 'float' THEN 8 WHEN 'real' THEN 4 WHEN 'money' THEN 8 WHEN 'bit' THEN 1
           WHEN 'char' THEN k.typmod - 4 WHEN 'varchar' THEN k.typmod - 4
           WHEN 'date' THEN k.typlen
           ELSE 2147483647
       END::int4 AS length,
       CASE k.kind
           WHEN 'smallint' THEN 5 WHEN 'int' THEN 10 WHEN 'bigint' THEN 19
           WHEN 'decimal' THEN k.p WHEN 'float' THEN 53 WHEN 'real' THEN 24
           WHEN 'money' THEN 19 WHEN 'bit' THEN 1
           WHEN 'char' THEN k.typmod - 4 WHEN 'varchar' THEN k.typmod - 4
       END::int4 AS prec,
       CASE k.kind
           WHEN 'smallint' THEN 0 WHEN 'int' THEN 0 WHEN 'bigint' THEN 0
           WHEN 'decimal' THEN k.s WHEN 'money' THEN 4 WHEN 'bit' THEN 0
       END::int4 AS scale
FROM kind k
JOIN dbo.sysobjects o ON o.id = k.attrelid::int4;

-- Users and groups: every role, with the group of a role being the first role it is a
-- member of, in the byte order of the role names (gid 0 when it is a member of none).
-- The server's own roles (names beginning "pg_") are never anyone's group. uid is the
-- role's oid as a signed 32-bit number.
CREATE OR REPLACE VIEW dbo.sysusers AS
SELECT r.oid::int4 AS uid,
       COALESCE((SELECT g.oid::int4
                 FROM pg_catalog.pg_auth_members m
                 JOIN pg_catalog.pg_roles g ON g.oid = m.roleid
                 WHERE m.member = r.oid AND NOT pg_catalog.starts_with(g.rolname, 'pg_')
                 ORDER BY g.rolname COLLATE "C"
                 LIMIT 1), 0) AS gid,
       r.rolname::varchar(128) AS name
FROM pg_catalog.pg_roles r;

GRANT USAGE ON SCHEMA dbo TO PUBLIC;
GRANT SELECT ON dbo.sysobjects, dbo.syscolumns, dbo.sysusers TO PUBLIC;

-- Plain names (syscolumns) resolve through the search path: dbo goes at its end, for the
-- user applying this file in this database, from now on and in this session. Names
-- qualified by the database (DB.dbo.syscolumns) need nothing more.
DO $$
DECLARE
    configured text := (SELECT reset_val FROM pg_catalog.pg_settings WHERE name = 'search_path');
    listed text[] := string_to_array(replace(replace(configured, '"', ''), ' ', ''), ',');
BEGIN
    IF NOT 'dbo' = ANY (pg_catalog.current_schemas(false)) THEN
        PERFORM pg_catalog.set_config(
            'search_path',
            concat_ws(', ', NULLIF(pg_catalog.current_setting('search_path'), ''), 'dbo'),
            false);
    END IF;
    IF NOT 'dbo' = ANY (listed) THEN
        EXECUTE format('ALTER ROLE CURRENT_USER IN DATABASE %I SET search_path = %s',
                       pg_catalog.current_database(),
                       concat_ws(', ', NULLIF(configured, ''), 'dbo'));
    END IF;
END $$;
