CREATE TABLE t (a text); -- comment ; here
INSERT INTO t VALUES ('it''s; fine'), (E'a\'b;'), ("q;x");
/* block ; */ SELECT $$ body ; $$, $tag$ x; $tag$;
CREATE TRIGGER tr AFTER INSERT ON t BEGIN SELECT CASE WHEN 1 THEN 2 END; END;
SELECT 1
GO 3
SELECT 'unfinished
