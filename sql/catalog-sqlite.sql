-- Catalog views for SQLite: the column and object tables that the library's catalog
-- queries read (syscolumns, sysobjects), over the tables and views of the database file.
-- Apply once per database, for instance with
--   kvlsql --driver SQLite3 --db FILE -f catalog-sqlite.sql
-- kvlsql's own sample database has them from the start. Applying again changes nothing.
--
-- Type codes follow the declared type, as the library numbers column types (length in
-- bytes, prec, scale):
--   TINYINT 5 (1, 3, 0)    SMALLINT, INT2 6 (2, 5, 0)    INT, INTEGER, MEDIUMINT, INT4 7 (4, 10, 0)
--   BIGINT, INT8, UNSIGNED BIG INT 24 (9, 19, 0)
--   DECIMAL(p,s), NUMERIC(p,s), DEC(p,s) 24 (5 to 17, p, s; s 0 when left out)
--   DECIMAL, NUMERIC without p; FLOAT, DOUBLE, DOUBLE PRECISION, FLOAT8 8 (8, 53, NULL)
--   REAL, FLOAT4 23 (4, 24, NULL)    MONEY 11 (8, 19, 4)    BOOLEAN, BOOL, BIT 16 (1, 1, 0)
--   CHAR(n), CHARACTER(n), NCHAR(n) 1 (n, n, NULL; n 1 when left out)
--   VARCHAR(n), NVARCHAR(n), CHARACTER VARYING(n) 2 (n, n, NULL)
--   DATE, DATETIME, TIMESTAMP 12 (8)    BINARY(n) 3 (n)    VARBINARY(n) 4 (n)    BLOB 4 (2147483647)
--   TEXT, CLOB, VARCHAR without n, no declared type and every other type 19 (2147483647)

-- Tables and views, excluding SQLite's own and these two; id is the entry's row number in
-- the schema table.
CREATE VIEW IF NOT EXISTS sysobjects AS
SELECT m.rowid AS id,
       m.name AS name,
       CASE m.type WHEN 'view' THEN 'V' ELSE 'U' END AS xtype,
       CASE m.type WHEN 'view' THEN 'V' ELSE 'U' END AS type
FROM sqlite_master m
WHERE m.type IN ('table', 'view')
  AND m.name NOT LIKE 'sqlite\_%' ESCAPE '\'
  AND m.name NOT IN ('sysobjects', 'syscolumns');

CREATE VIEW IF NOT EXISTS syscolumns AS
WITH declared AS (
    SELECT o.id, c.cid + 1 AS colid, c.name, upper(trim(c.type)) AS decl
    FROM sysobjects o
    JOIN pragma_table_info(o.name) c
), split AS (
    SELECT id, colid, name,
           trim(CASE WHEN instr(decl, '(') > 0 THEN substr(decl, 1, instr(decl, '(') - 1)
                     ELSE decl END) AS base,
           CASE WHEN instr(decl, '(') > 0
                THEN substr(decl, instr(decl, '(') + 1, instr(decl, ')') - instr(decl, '(') - 1)
           END AS args
    FROM declared
), sized AS (
    SELECT id, colid, name, base,
           CAST(trim(CASE WHEN instr(args, ',') > 0 THEN substr(args, 1, instr(args, ',') - 1)
                          ELSE args END) AS INTEGER) AS n,
           CASE WHEN instr(args, ',') > 0
                THEN CAST(trim(substr(args, instr(args, ',') + 1)) AS INTEGER) END AS s
    FROM split
), kind AS (
    SELECT id, colid, name, n, s,
           CASE
               WHEN base = 'TINYINT' THEN 'tinyint'
               WHEN base IN ('SMALLINT', 'INT2') THEN 'smallint'
               WHEN base IN ('INT', 'INTEGER', 'MEDIUMINT', 'INT4') THEN 'int'
               WHEN base IN ('BIGINT', 'INT8', 'UNSIGNED BIG INT') THEN 'bigint'
               WHEN base IN ('DECIMAL', 'NUMERIC', 'DEC') AND n > 0 THEN 'decimal'
               WHEN base IN ('DECIMAL', 'NUMERIC', 'DEC', 'FLOAT', 'DOUBLE', 'DOUBLE PRECISION',
                             'FLOAT8') THEN 'float'
               WHEN base IN ('REAL', 'FLOAT4') THEN 'real'
               WHEN base = 'MONEY' THEN 'money'
               WHEN base IN ('BOOLEAN', 'BOOL', 'BIT') THEN 'bit'
               WHEN base IN ('CHAR', 'CHARACTER', 'NCHAR') THEN 'char'
               WHEN base IN ('VARCHAR', 'NVARCHAR', 'CHARACTER VARYING') AND n > 0 THEN 'varchar'
               WHEN base IN ('DATE', 'DATETIME', 'TIMESTAMP') THEN 'date'
               WHEN base = 'BINARY' AND n > 0 THEN 'binary'
               WHEN base = 'VARBINARY' AND n > 0 THEN 'varbinary'
               WHEN base = 'BLOB' THEN 'blob'
               ELSE 'text'
           END AS kind
    FROM sized
)
SELECT id, name, colid,
       CASE kind
           WHEN 'tinyint' THEN 5 WHEN 'smallint' THEN 6 WHEN 'int' THEN 7 WHEN 'bigint' THEN 24
           WHEN 'decimal' THEN 24 WHEN 'float' THEN 8 WHEN 'real' THEN 23 WHEN 'money' THEN 11
           WHEN 'bit' THEN 16 WHEN 'char' THEN 1 WHEN 'varchar' THEN 2 WHEN 'date' THEN 12
           WHEN 'binary' THEN 3 WHEN 'varbinary' THEN 4 WHEN 'blob' THEN 4
           ELSE 19
       END AS usertype,
       CASE kind
           WHEN 'tinyint' THEN 1 WHEN 'smallint' THEN 2 WHEN 'int' THEN 4 WHEN 'bigint' THEN 9
           WHEN 'decimal' THEN CASE WHEN n <= 9 THEN 5 WHEN n <= 19 THEN 9
                                    WHEN n <= 28 THEN 13 ELSE 17 END
           WHEN 'float' THEN 8 WHEN 'real' THEN 4 WHEN 'money' THEN 8 WHEN 'bit' THEN 1
           WHEN 'char' THEN coalesce(n, 1) WHEN 'varchar' THEN n WHEN 'date' THEN 8
           WHEN 'binary' THEN n WHEN 'varbinary' THEN n
           ELSE 2147483647
       END AS length,
       CASE kind
           WHEN 'tinyint' THEN 3 WHEN 'smallint' THEN 5 WHEN 'int' THEN 10 WHEN 'bigint' THEN 19
           WHEN 'decimal' THEN n WHEN 'float' THEN 53 WHEN 'real' THEN 24 WHEN 'money' THEN 19
           WHEN 'bit' THEN 1 WHEN 'char' THEN coalesce(n, 1) WHEN 'varchar' THEN n
       END AS prec,
       CASE kind
           WHEN 'tinyint' THEN 0 WHEN 'smallint' THEN 0 WHEN 'int' THEN 0 WHEN 'bigint' THEN 0
           WHEN 'decimal' THEN coalesce(s, 0) WHEN 'money' THEN 4 WHEN 'bit' THEN 0
       END AS scale
FROM kind;
