-- Company database template DB/Vevezidora12_Backup.mdb.
-- Company creation copies it into a new data folder as Vevezidora12.mdb.
-- Text columns ignore letter case; dates are ISO text ("2024-03-05", "2024-03-05 14:30:05")
-- except the columns noted as "dd-MMM-yy" text, which keep the text written into them.
-- Table Warning is not here: the schema upgrade creates it when a company is opened.

-- One row per book copy. Written by the book window and the book import; the issue, the
-- return and the issue voucher deletion set the holder columns (Status to IssueDate).
CREATE TABLE Book (
    BookID       INTEGER PRIMARY KEY,
    "Date"       TEXT COLLATE NOCASE,   -- entry date, free text as typed
    AccessionNo  TEXT COLLATE NOCASE,
    title        TEXT COLLATE NOCASE,
    Author       TEXT COLLATE NOCASE,
    Subject      TEXT COLLATE NOCASE,
    Publisher    TEXT COLLATE NOCASE,
    Edition      TEXT COLLATE NOCASE,
    "Year"       TEXT COLLATE NOCASE,
    Pages        TEXT COLLATE NOCASE,
    VOL          TEXT COLLATE NOCASE,
    Source       TEXT COLLATE NOCASE,
    BillNo       TEXT COLLATE NOCASE,
    Cost         REAL,
    Class        TEXT COLLATE NOCASE,
    BookNo       TEXT COLLATE NOCASE,
    WithdrawlNo  TEXT COLLATE NOCASE,
    Remarks      TEXT COLLATE NOCASE,
    OT11         TEXT COLLATE NOCASE,   -- location / rack
    OT12         TEXT COLLATE NOCASE,   -- topic
    OT13         TEXT COLLATE NOCASE,   -- ISBN
    OT14         TEXT COLLATE NOCASE,   -- barcode number
    OT15         TEXT COLLATE NOCASE,   -- category
    OT16         TEXT COLLATE NOCASE,   -- stream
    Status       TEXT COLLATE NOCASE,   -- "Available" or "Issue"
    IssueID      INTEGER,               -- VoucherID of the issue that lent the copy, 0 when available
    Name         TEXT COLLATE NOCASE,
    RollNo       TEXT COLLATE NOCASE,
    CardID       INTEGER,
    CardNo       INTEGER,
    IssueDate    TEXT COLLATE NOCASE    -- "dd-MMM-yy" text, empty when available
);
CREATE INDEX BookAccessionNo ON Book (AccessionNo);
CREATE INDEX BookStatus ON Book (Status);
CREATE INDEX BookCardID ON Book (CardID);
-- The pending-books list reads the copies that are out from this index alone.
CREATE INDEX BookPending ON Book (Status, AccessionNo, title, Author, Subject, Publisher, Name,
    CardNo, IssueDate, RollNo, Edition, IssueID) WHERE Status <> 'Available';
-- The book search panel finds the titles a typed beginning selects here and reads their rows by key.
CREATE INDEX BookTitle ON Book (title);

-- One row per member card. Written by the library card window and the card import; read by
-- the issue, return and ledger look-ups and the card list.
CREATE TABLE Card (
    CardID     INTEGER PRIMARY KEY,
    CardNo     INTEGER,
    GroupID    INTEGER,
    GroupName  TEXT COLLATE NOCASE,
    RollNo     TEXT COLLATE NOCASE,
    Name       TEXT COLLATE NOCASE,
    Contact1   TEXT COLLATE NOCASE,
    Contact2   TEXT COLLATE NOCASE,
    OT11       TEXT COLLATE NOCASE,   -- father's name
    OT12       TEXT COLLATE NOCASE,   -- address
    OT13       TEXT COLLATE NOCASE,   -- city or village
    OT14       TEXT COLLATE NOCASE,   -- district or tehsil
    OT15       TEXT COLLATE NOCASE,   -- photo file path
    Remarks    TEXT COLLATE NOCASE,
    OD1        TEXT                   -- valid-up-to date
);
CREATE INDEX CardCardNo ON Card (CardNo);
CREATE INDEX CardGroupID ON Card (GroupID);
CREATE INDEX CardOD1 ON Card (OD1);
-- The card search panel finds the names a typed beginning selects here and reads their rows by key.
CREATE INDEX CardName ON Card (Name);

-- Member groups. Written only by the group window; read by the card window, the issue
-- window's book limit, the return window's fine and the issue and return printouts.
CREATE TABLE Group1 (
    GroupID     INTEGER PRIMARY KEY,
    GroupName   TEXT COLLATE NOCASE,
    FinePerDay  REAL,
    MaxBooks    INTEGER,
    MaxDays     INTEGER,
    Remarks     TEXT COLLATE NOCASE
);

-- One row per issue ("Issue") or return ("Receipt"). Written by the book issue and book
-- return windows; read by the registers, the ledger, the voucher loaders and the company picker.
CREATE TABLE Voucher (
    VoucherID        INTEGER PRIMARY KEY,
    TransactionType  TEXT COLLATE NOCASE,
    "Date"           TEXT,                 -- issue or return date
    SrNO             INTEGER,              -- serial number, counted per TransactionType
    CardID           INTEGER,
    CardNo           INTEGER,
    AccessionNo      INTEGER,              -- leading numeric value of the book's accession number
    GroupID          INTEGER,
    GroupName        TEXT COLLATE NOCASE,
    Name             TEXT COLLATE NOCASE,
    RollNo           TEXT COLLATE NOCASE,
    Contact1         TEXT COLLATE NOCASE,
    Contact2         TEXT COLLATE NOCASE,
    BookID           INTEGER,
    title            TEXT COLLATE NOCASE,
    Author           TEXT COLLATE NOCASE,
    Subject          TEXT COLLATE NOCASE,
    Publisher        TEXT COLLATE NOCASE,
    Edition          TEXT COLLATE NOCASE,
    "Year"           TEXT COLLATE NOCASE,
    Pages            TEXT COLLATE NOCASE,
    VOL              TEXT COLLATE NOCASE,
    IssueID          INTEGER,              -- return rows: VoucherID of the issue it closes
    DaysDelayed      INTEGER,
    TotalFine        REAL,
    FineReceiptNo    INTEGER,
    Remarks          TEXT COLLATE NOCASE
);
CREATE INDEX VoucherTypeDate ON Voucher (TransactionType, "Date");
CREATE INDEX VoucherCardID ON Voucher (CardID);
CREATE INDEX VoucherIssueID ON Voucher (IssueID);
CREATE INDEX VoucherTypeSrNo ON Voucher (TransactionType, SrNO);

-- The keys of the books and cards changed or removed by any program, in the order written: a list
-- kept in memory (the search panels) follows another program's commits by these keys, and by the
-- keys above those it holds, instead of reading its whole table again. Rows added are not logged,
-- so that an import writes each book once. The oldest entries go as new ones come; a list that
-- missed them reads its table again.
CREATE TABLE RowChange (
    Seq        INTEGER PRIMARY KEY AUTOINCREMENT,
    TableName  TEXT COLLATE NOCASE,
    RowKey     INTEGER
);
CREATE TRIGGER BookChanged AFTER UPDATE ON Book BEGIN
    INSERT INTO RowChange (TableName, RowKey) VALUES ('Book', NEW.BookID);
    INSERT INTO RowChange (TableName, RowKey) SELECT 'Book', OLD.BookID WHERE OLD.BookID <> NEW.BookID;
END;
CREATE TRIGGER BookRemoved AFTER DELETE ON Book BEGIN
    INSERT INTO RowChange (TableName, RowKey) VALUES ('Book', OLD.BookID);
END;
CREATE TRIGGER CardChanged AFTER UPDATE ON Card BEGIN
    INSERT INTO RowChange (TableName, RowKey) VALUES ('Card', NEW.CardID);
    INSERT INTO RowChange (TableName, RowKey) SELECT 'Card', OLD.CardID WHERE OLD.CardID <> NEW.CardID;
END;
CREATE TRIGGER CardRemoved AFTER DELETE ON Card BEGIN
    INSERT INTO RowChange (TableName, RowKey) VALUES ('Card', OLD.CardID);
END;
CREATE TRIGGER RowChangeKept AFTER INSERT ON RowChange WHEN NEW.Seq % 1000 = 0 BEGIN
    DELETE FROM RowChange WHERE Seq <= NEW.Seq - 5000;
END;

-- The one row describing the open company. Written by company creation and the company
-- details window; read by the login, the company picker, every report header and the mail sender.
CREATE TABLE Company (
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
    DLNo1        TEXT COLLATE NOCASE,
    DLNo2        TEXT COLLATE NOCASE,
    SubName      TEXT COLLATE NOCASE,   -- state code
    EnableSED    TEXT COLLATE NOCASE,   -- state name
    DutyType     TEXT COLLATE NOCASE,   -- GST number
    OT1          TEXT COLLATE NOCASE,
    OT2          TEXT COLLATE NOCASE,
    OT3          TEXT COLLATE NOCASE,   -- mail sender address
    OT4          TEXT COLLATE NOCASE,   -- mail sender password
    OT5          TEXT COLLATE NOCASE
);

-- The company's financial year, one row. Written by company creation; read by the login
-- title and the issue and return registers. The schema upgrade adds OT1..OT10 and ON1..ON5.
CREATE TABLE FinancialYear (
    StartDate  TEXT COLLATE NOCASE,   -- "dd-MMM-yy" text
    EndDate    TEXT COLLATE NOCASE    -- "dd-MMM-yy" text
);

-- Users of the company. Written by company creation (the first user) and the users window;
-- read by the login.
CREATE TABLE Users (
    UserID        INTEGER PRIMARY KEY,
    UserName      TEXT COLLATE NOCASE,
    UserFullName  TEXT COLLATE NOCASE,
    UserPosition  TEXT COLLATE NOCASE,   -- a PositionName or "SUPER USER"
    Password      TEXT COLLATE NOCASE    -- plain text
);

-- Positions. Written by the positions window; read by the users window's position list.
CREATE TABLE "Position" (
    PositionID    INTEGER PRIMARY KEY,
    PositionName  TEXT COLLATE NOCASE
);

-- Rights: five rows per position, one per entry ("Book", "Card", "User", "Book Issue",
-- "Book Receipt"). Written by the positions window; read by every rights check.
CREATE TABLE UserProfile (
    PositionID  INTEGER,
    "Position"  TEXT COLLATE NOCASE,
    Entry       TEXT COLLATE NOCASE,
    "Add"       TEXT COLLATE NOCASE,   -- "Y" or "N"
    Modify      TEXT COLLATE NOCASE,
    "Delete"    TEXT COLLATE NOCASE,
    "Print"     TEXT COLLATE NOCASE
);
CREATE INDEX UserProfilePositionID ON UserProfile (PositionID);

-- Login log: one row per successful login, added by the login window, which also shows
-- the newest row.
CREATE TABLE Login (
    LoginNo    INTEGER PRIMARY KEY,
    UserID     INTEGER,
    LoginTime  TEXT                  -- date and time of the login
);

-- Account row 1 comes with the template; company creation writes the state name into State
-- and the state code into OT23.
CREATE TABLE Account (
    AccountID  INTEGER PRIMARY KEY,
    State      TEXT COLLATE NOCASE,
    OT1        TEXT COLLATE NOCASE,
    OT2        TEXT COLLATE NOCASE,
    OT3        TEXT COLLATE NOCASE,
    OT4        TEXT COLLATE NOCASE,
    OT5        TEXT COLLATE NOCASE,
    OT23       TEXT COLLATE NOCASE,
    ON1        REAL,
    ON2        REAL,
    ON3        REAL,
    ON4        REAL,
    ON5        REAL
);
INSERT INTO Account (AccountID) VALUES (1);

-- Database information. Nothing reads or writes it; the schema upgrade adds ON1..ON5.
CREATE TABLE DbInfo (
    DbInfoID  INTEGER PRIMARY KEY,
    OT1       TEXT COLLATE NOCASE,
    OT2       TEXT COLLATE NOCASE,
    OT3       TEXT COLLATE NOCASE,
    OT4       TEXT COLLATE NOCASE,
    OT5       TEXT COLLATE NOCASE
);

-- Company options, one row that comes with the template; kept for later settings.
CREATE TABLE Options (
    OptionID  INTEGER PRIMARY KEY,
    OT1       TEXT COLLATE NOCASE,
    OT2       TEXT COLLATE NOCASE,
    OT3       TEXT COLLATE NOCASE,
    OT4       TEXT COLLATE NOCASE,
    OT5       TEXT COLLATE NOCASE,
    ON1       REAL,
    ON2       REAL,
    ON3       REAL,
    ON4       REAL,
    ON5       REAL
);
INSERT INTO Options (OptionID) VALUES (1);
