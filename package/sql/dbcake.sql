-- Sticker database BarDb/dbCake.mdb.

-- One row per barcode sticker, in the order of the ticked book list rows. The sticker run of
-- the book list empties and refills it; the sticker template reads it.
CREATE TABLE Cake (
    CakeID    TEXT COLLATE NOCASE,   -- accession number as listed
    CakeName  TEXT COLLATE NOCASE,   -- title
    FileName  TEXT COLLATE NOCASE,   -- barcode text followed by ".jpg"
    OT2       TEXT COLLATE NOCASE,   -- full path of the sticker picture
    OT3       TEXT COLLATE NOCASE,   -- author
    OT4       TEXT COLLATE NOCASE,   -- subject
    OT5       TEXT COLLATE NOCASE,   -- publisher
    OT6       TEXT COLLATE NOCASE,   -- location
    OT7       TEXT COLLATE NOCASE    -- edition
);
