#include "PostgreSqlSupport.h"

namespace sql {

// The order key gives the embedded collation's order (Collation.cpp): per character of the folded
// text a primary weight (ASCII by its code, the Hungarian accented vowels with their base letter,
// o/u umlauts just after o/u, everything else after ASCII by its code), then -1, then the folded
// characters' codes as the tie-break. Folding is ICU's lower case after dropping trailing blanks.
static const char *const Script = R"sql(-- KOVRA support functions for the translated statements, version 1.
-- Made by the program's PostgreSQL emitter; keep this block as it stands.
CREATE OR REPLACE FUNCTION kovra_ci_key(t text) RETURNS integer[]
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$
SELECT coalesce((SELECT array_agg(CASE ascii(x.c)
                                      WHEN 225 THEN 388 WHEN 233 THEN 404 WHEN 237 THEN 420 WHEN 243 THEN 444
                                      WHEN 246 THEN 446 WHEN 337 THEN 446 WHEN 250 THEN 468 WHEN 252 THEN 470
                                      WHEN 369 THEN 470
                                      ELSE CASE WHEN ascii(x.c) < 128 THEN ascii(x.c) * 4 ELSE 4096 + ascii(x.c) END
                                  END ORDER BY x.o)
                 FROM unnest(string_to_array(f.v, NULL)) WITH ORDINALITY AS x(c, o)), '{}')
       || -1
       || coalesce((SELECT array_agg(ascii(x.c) ORDER BY x.o)
                    FROM unnest(string_to_array(f.v, NULL)) WITH ORDINALITY AS x(c, o)), '{}')
FROM (SELECT lower(rtrim(t) COLLATE "und-x-icu") AS v) AS f
$kovra$;
CREATE OR REPLACE FUNCTION kovra_ci_key(v numeric) RETURNS numeric[]
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT ARRAY[v] $kovra$;
CREATE OR REPLACE FUNCTION kovra_ci_key(v timestamp) RETURNS timestamp[]
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT ARRAY[v] $kovra$;
CREATE OR REPLACE FUNCTION kovra_ci_key(v time) RETURNS time[]
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT ARRAY[v] $kovra$;

CREATE OR REPLACE FUNCTION kovra_regex_char(c text) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$
SELECT CASE WHEN ascii(c) BETWEEN 33 AND 126 AND c COLLATE "C" !~ '[A-Za-z0-9]' THEN '\' || c ELSE c END
$kovra$;

-- A Transact-SQL LIKE pattern (% _ [abc] [a-z] [^abc], an optional escape character) as an anchored
-- regular expression.
CREATE OR REPLACE FUNCTION kovra_like_regex(p text, esc text) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $kovra$
DECLARE
    r text COLLATE "C" := '^';
    i integer := 1;
    n integer;
    c text COLLATE "C";
    k integer;
    j integer;
    close_at integer;
BEGIN
    IF p IS NULL THEN
        RETURN NULL;
    END IF;
    IF esc IS NOT NULL AND length(esc) <> 1 THEN
        RAISE EXCEPTION USING ERRCODE = '22019', MESSAGE = 'The ESCAPE clause needs exactly one character';
    END IF;
    n := length(p);
    WHILE i <= n LOOP
        c := substr(p, i, 1);
        IF esc IS NOT NULL AND c = esc AND i < n THEN
            r := r || kovra_regex_char(substr(p, i + 1, 1));
            i := i + 2;
            CONTINUE;
        END IF;
        IF c = '%' THEN
            r := r || '.*';
        ELSIF c = '_' THEN
            r := r || '.';
        ELSIF c = '[' AND strpos(substr(p, i + 2), ']') > 0 THEN
            close_at := i + 1 + strpos(substr(p, i + 2), ']');
            r := r || '[';
            j := i + 1;
            IF substr(p, j, 1) = '^' AND j + 1 < close_at THEN
                r := r || '^';
                j := j + 1;
            END IF;
            WHILE j < close_at LOOP
                IF j + 2 < close_at AND substr(p, j + 1, 1) = '-' THEN
                    r := r || kovra_regex_char(substr(p, j, 1)) || '-' || kovra_regex_char(substr(p, j + 2, 1));
                    j := j + 3;
                ELSE
                    r := r || kovra_regex_char(substr(p, j, 1));
                    j := j + 1;
                END IF;
            END LOOP;
            r := r || ']';
            i := close_at;
        ELSE
            r := r || kovra_regex_char(c);
        END IF;
        i := i + 1;
    END LOOP;
    RETURN r || '$';
END
$kovra$;

-- Texts to numbers and flags with the server's rules (surrounding blanks, a sign, '' is 0) and
-- messages.
CREATE OR REPLACE FUNCTION kovra_int(v text) RETURNS bigint
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $kovra$
DECLARE
    s text COLLATE "C" := btrim(v, E' \t\n\r\f\v');
BEGIN
    IF v IS NULL THEN
        RETURN NULL;
    ELSIF s = '' THEN
        RETURN 0;
    ELSIF s ~ '^[+-]?[0-9]{1,18}$' THEN
        RETURN CAST(s AS bigint);
    END IF;
    RAISE EXCEPTION USING ERRCODE = '22018',
        MESSAGE = format('Conversion failed when converting the varchar value ''%s'' to data type int.', v);
END
$kovra$;
CREATE OR REPLACE FUNCTION kovra_int(v double precision) RETURNS bigint
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT CAST(trunc(v) AS bigint) $kovra$;

CREATE OR REPLACE FUNCTION kovra_num(v text) RETURNS double precision
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $kovra$
DECLARE
    s text COLLATE "C" := btrim(v, E' \t\n\r\f\v');
BEGIN
    IF v IS NULL THEN
        RETURN NULL;
    ELSIF s = '' THEN
        RETURN 0;
    ELSIF s ~ '^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$' THEN
        RETURN CAST(s AS double precision);
    END IF;
    RAISE EXCEPTION USING ERRCODE = '22018', MESSAGE = 'Error converting data type varchar to float.';
END
$kovra$;
CREATE OR REPLACE FUNCTION kovra_num(v double precision) RETURNS double precision
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT v $kovra$;

CREATE OR REPLACE FUNCTION kovra_bit(v text) RETURNS smallint
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $kovra$
DECLARE
    s text COLLATE "C" := lower(btrim(v, E' \t\n\r\f\v'));
BEGIN
    IF v IS NULL THEN
        RETURN NULL;
    ELSIF s = 'true' THEN
        RETURN 1;
    ELSIF s = 'false' OR s = '' THEN
        RETURN 0;
    ELSIF s ~ '^[+-]?[0-9]{1,18}$' THEN
        RETURN CASE WHEN CAST(s AS bigint) <> 0 THEN 1 ELSE 0 END;
    END IF;
    RAISE EXCEPTION USING ERRCODE = '22018',
        MESSAGE = format('Conversion failed when converting the varchar value ''%s'' to data type bit.', v);
END
$kovra$;
CREATE OR REPLACE FUNCTION kovra_bit(v double precision) RETURNS smallint
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT CAST(CASE WHEN v <> 0 THEN 1 ELSE 0 END AS smallint) $kovra$;

-- Date and time texts as the server reads them: yyyymmdd; yyyy-mm-dd, yyyy.mm.dd (a trailing dot
-- allowed), yyyy/mm/dd; mm/dd/yyyy, mm.dd.yyyy, mm-dd-yyyy; each optionally followed by blanks or T
-- and hh:mm[:ss[.fffffff]]; a time alone; '' is 1900-01-01 00:00:00.
CREATE OR REPLACE FUNCTION kovra_datetime(v text) RETURNS timestamp
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $kovra$
DECLARE
    s text COLLATE "C" := btrim(v, E' \t\n\r\f\v');
    m text[] COLLATE "C";
    y integer := 1900;
    mo integer := 1;
    d integer := 1;
    h integer := 0;
    mi integer := 0;
    se integer := 0;
    rest text COLLATE "C" := '';
    ok boolean := true;
BEGIN
    IF v IS NULL THEN
        RETURN NULL;
    ELSIF s = '' THEN
        RETURN TIMESTAMP '1900-01-01 00:00:00';
    END IF;
    IF s ~ '^[0-9]{1,2}:' THEN
        rest := ' ' || s;
    ELSE
        m := regexp_match(s, '^([0-9]{4})([0-9]{2})([0-9]{2})(.*)$');
        IF m IS NOT NULL THEN
            y := m[1]; mo := m[2]; d := m[3]; rest := m[4];
        ELSE
            m := regexp_match(s, '^([0-9]{4})([-./])([0-9]{1,2})([-./])([0-9]{1,2})(.*)$');
            IF m IS NOT NULL AND m[2] = m[4] THEN
                y := m[1]; mo := m[3]; d := m[5]; rest := m[6];
                IF m[2] = '.' AND left(rest, 1) = '.' THEN
                    rest := substr(rest, 2);
                END IF;
            ELSE
                m := regexp_match(s, '^([0-9]{1,2})([-./])([0-9]{1,2})([-./])([0-9]{4})(.*)$');
                IF m IS NOT NULL AND m[2] = m[4] THEN
                    mo := m[1]; d := m[3]; y := m[5]; rest := m[6];
                ELSE
                    ok := false;
                END IF;
            END IF;
        END IF;
        ok := ok AND y BETWEEN 1 AND 9999 AND mo BETWEEN 1 AND 12 AND d >= 1
              AND d <= extract(day FROM make_date(greatest(y, 1), least(greatest(mo, 1), 12), 1) + interval '1 month - 1 day');
    END IF;
    IF ok AND rest <> '' THEN
        m := regexp_match(rest, '^[ T]+([0-9]{1,2}):([0-9]{2})(:([0-9]{2})(\.[0-9]{1,7})?)?$');
        IF m IS NULL THEN
            ok := false;
        ELSE
            h := m[1]; mi := m[2]; se := coalesce(m[4], '0');
            ok := h <= 23 AND mi <= 59 AND se <= 59;
        END IF;
    END IF;
    IF NOT ok THEN
        RAISE EXCEPTION USING ERRCODE = '22007',
            MESSAGE = 'Conversion failed when converting date and/or time from character string.';
    END IF;
    RETURN make_timestamp(y, mo, d, h, mi, se);
END
$kovra$;
CREATE OR REPLACE FUNCTION kovra_datetime(v timestamp) RETURNS timestamp
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT v $kovra$;
CREATE OR REPLACE FUNCTION kovra_date(v text) RETURNS date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT CAST(kovra_datetime(v) AS date) $kovra$;
CREATE OR REPLACE FUNCTION kovra_date(v timestamp) RETURNS date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT CAST(v AS date) $kovra$;
CREATE OR REPLACE FUNCTION kovra_time(v text) RETURNS time
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT CAST(kovra_datetime(v) AS time) $kovra$;
CREATE OR REPLACE FUNCTION kovra_time(v time) RETURNS time
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $kovra$ SELECT v $kovra$;

-- DATEDIFF counting boundaries; weeks begin on Sunday (1899-12-31 was one).
CREATE OR REPLACE FUNCTION kovra_datediff(unit text, a timestamp, b timestamp) RETURNS bigint
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $kovra$
SELECT CAST(CASE unit
    WHEN 'year' THEN extract(year FROM b) - extract(year FROM a)
    WHEN 'quarter' THEN (extract(year FROM b) * 4 + extract(quarter FROM b)) - (extract(year FROM a) * 4 + extract(quarter FROM a))
    WHEN 'month' THEN (extract(year FROM b) * 12 + extract(month FROM b)) - (extract(year FROM a) * 12 + extract(month FROM a))
    WHEN 'week' THEN floor((CAST(b AS date) - DATE '1899-12-31') / 7.0) - floor((CAST(a AS date) - DATE '1899-12-31') / 7.0)
    WHEN 'day' THEN CAST(b AS date) - CAST(a AS date)
    WHEN 'hour' THEN (CAST(b AS date) - CAST(a AS date)) * 24 + extract(hour FROM b) - extract(hour FROM a)
    WHEN 'minute' THEN ((CAST(b AS date) - CAST(a AS date)) * 24 + extract(hour FROM b) - extract(hour FROM a)) * 60
                       + extract(minute FROM b) - extract(minute FROM a)
    WHEN 'second' THEN (((CAST(b AS date) - CAST(a AS date)) * 24 + extract(hour FROM b) - extract(hour FROM a)) * 60
                       + extract(minute FROM b) - extract(minute FROM a)) * 60
                       + floor(extract(second FROM b)) - floor(extract(second FROM a))
END AS bigint)
$kovra$;

-- getdate(): the server's local time to the second; the session setting kovra.now fixes it (tests).
CREATE OR REPLACE FUNCTION kovra_getdate() RETURNS timestamp
LANGUAGE sql STABLE PARALLEL SAFE AS $kovra$
SELECT coalesce(CAST(nullif(current_setting('kovra.now', true), '') AS timestamp),
                CAST(date_trunc('second', localtimestamp) AS timestamp))
$kovra$;
-- END of the KOVRA support functions.
)sql";

QString PostgreSqlSupportScript() { return QString::fromLatin1(Script); }

} // namespace sql
