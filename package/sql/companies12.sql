-- Application database Companies12.mdb, beside the program.
-- Text columns ignore letter case; dates are ISO text ("2024-03-05", "2024-03-05 14:30:05").

-- Company register: one row per created company, added by company creation, which also
-- reads it back for its path and for the next company number.
CREATE TABLE Company (
    CompanyID    INTEGER PRIMARY KEY,
    CompanyName  TEXT COLLATE NOCASE,
    DealsIn      TEXT COLLATE NOCASE,
    Address      TEXT COLLATE NOCASE,
    Address2     TEXT COLLATE NOCASE,
    city         TEXT COLLATE NOCASE,
    phone        TEXT COLLATE NOCASE,
    mobile       TEXT COLLATE NOCASE,
    email        TEXT COLLATE NOCASE,
    Website      TEXT COLLATE NOCASE,
    TINNo        TEXT COLLATE NOCASE,   -- VAT number
    CSTNo        TEXT COLLATE NOCASE,
    ITPan        TEXT COLLATE NOCASE,
    path         TEXT COLLATE NOCASE,   -- the company's data folder
    StartDate    TEXT,                  -- financial year start
    EndDate      TEXT                   -- financial year end
);

-- Settings, one row: the data root read by the company picker and company creation, and
-- the last backup time written by the backup window and shown by the home screen.
CREATE TABLE Path (
    Defaultpath  TEXT COLLATE NOCASE,   -- a folder path, or "Data" for the program's Data folder
    OD1          TEXT                   -- date and time of the last backup
);
INSERT INTO Path (Defaultpath, OD1) VALUES ('Data', NULL);

-- Report staging: every printing window empties it and writes its rows; the report window
-- and the report templates read them. c1..c7 carry the open company's header.
CREATE TABLE Printing (
    T1   TEXT COLLATE NOCASE,
    T2   TEXT COLLATE NOCASE,
    T3   TEXT COLLATE NOCASE,
    T4   TEXT COLLATE NOCASE,
    T5   TEXT COLLATE NOCASE,
    T6   TEXT COLLATE NOCASE,
    T7   TEXT COLLATE NOCASE,
    T8   TEXT COLLATE NOCASE,
    T9   TEXT COLLATE NOCASE,
    T10  TEXT COLLATE NOCASE,
    T11  TEXT COLLATE NOCASE,
    T12  TEXT COLLATE NOCASE,
    T13  TEXT COLLATE NOCASE,
    T14  TEXT COLLATE NOCASE,
    T15  TEXT COLLATE NOCASE,
    T16  TEXT COLLATE NOCASE,
    T17  TEXT COLLATE NOCASE,
    T18  TEXT COLLATE NOCASE,
    T19  TEXT COLLATE NOCASE,
    T20  TEXT COLLATE NOCASE,
    T21  TEXT COLLATE NOCASE,
    T22  TEXT COLLATE NOCASE,
    T23  TEXT COLLATE NOCASE,
    T24  TEXT COLLATE NOCASE,
    T25  TEXT COLLATE NOCASE,
    T26  TEXT COLLATE NOCASE,
    N1   REAL,
    c1   TEXT COLLATE NOCASE,   -- CompanyName
    c2   TEXT COLLATE NOCASE,   -- Address
    c3   TEXT COLLATE NOCASE,   -- Address2
    c4   TEXT COLLATE NOCASE,   -- city
    c5   TEXT COLLATE NOCASE,   -- phone
    c6   TEXT COLLATE NOCASE,   -- mobile
    c7   TEXT COLLATE NOCASE    -- TINNo
);
