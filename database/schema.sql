-- The measurement database: one row per stored measurement in table Data.
-- The build runs this script to make the shipped, empty file/DataViewDB.mdb.
-- Date-time columns hold the text yyyy-MM-dd HH:mm:ss, so that "between" and
-- ordering work in SQL and the file stays readable with any SQLite tool.
-- Statements are separated by a semicolon at the end of a line.

-- Readers never block the writer, so two running programs can share the file.
PRAGMA journal_mode = WAL;

CREATE TABLE Data (
    AutoID       INTEGER PRIMARY KEY AUTOINCREMENT,
    ID           VARCHAR(50),
    WorkName     VARCHAR(50),
    Operator     VARCHAR(50),
    other        TEXT,
    DateTime     DATETIME,
    EditDateTime DATETIME,
    Ra           REAL,
    Rq           REAL,
    Rz           REAL,
    R3z          REAL,
    Ryi          REAL,
    Ryd          REAL,
    Rt           REAL,
    Rp           REAL,
    Rv           REAL,
    RS           REAL,
    RSm          REAL,
    RSk          REAL,
    unitsystem   VARCHAR(10),
    Cutoff       VARCHAR(10),
    Access       VARCHAR(10),
    Stander      VARCHAR(10),
    Range        VARCHAR(10),
    Filter       VARCHAR(10),
    RealRange    VARCHAR(10),
    RealCutoff   VARCHAR(10),
    data         BLOB,
    iunitsystem  INTEGER,
    icutoff      INTEGER,
    iaccess      INTEGER,
    istander     INTEGER,
    irange       INTEGER,
    ifilter      INTEGER,
    irealrange   INTEGER,
    irealcutoff  INTEGER
);

-- The ID proposal, and the look-ups by ID, which ignore the case of letters.
CREATE INDEX DataById ON Data (ID);
CREATE INDEX DataByIdWithoutCase ON Data (lower(ID));

-- The record list, the search and the date filter read only these columns.
-- With this covering index they never touch the rows with their embedded
-- measurement, so listing and searching stay fast in a large file.
CREATE INDEX DataList ON Data (AutoID, ID, WorkName, Operator, DateTime, EditDateTime);
