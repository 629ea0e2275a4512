-- Messaging database wa/WaDB.mdb. The build does not lay it out: it belongs to the messaging
-- sender, and the program opens it only when the file exists.

-- The hand-off row: the report window's messaging command deletes every row and adds one;
-- the messaging sender program reads it.
CREATE TABLE wa (
    T1        TEXT COLLATE NOCASE,   -- "N/A"
    wanumber  TEXT COLLATE NOCASE,   -- "91" followed by the typed number
    M1        TEXT COLLATE NOCASE,   -- full path of the exported PDF
    Msg       TEXT COLLATE NOCASE    -- the message text
);
