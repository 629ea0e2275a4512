-- Package database Package.mdb, beside the program.

-- One row that comes with the package and is never written by the program. The splash
-- window shows SplashPicture; the login window's link labels open OM6, OM7 and OM8; the home
-- screen's "Website" and "Live Chat" buttons open OM2 and OM3; the messaging hand-off puts
-- OM3 and Website into its text. The build tool fills SplashPicture with the picture's bytes.
CREATE TABLE Develop (
    SplashPicture  BLOB,
    OM2            TEXT COLLATE NOCASE,
    OM3            TEXT COLLATE NOCASE,
    OM6            TEXT COLLATE NOCASE,
    OM7            TEXT COLLATE NOCASE,
    OM8            TEXT COLLATE NOCASE,
    Website        TEXT COLLATE NOCASE
);
INSERT INTO Develop (SplashPicture, OM2, OM3, OM6, OM7, OM8, Website)
VALUES (NULL, '', '', '', '', '', '');
