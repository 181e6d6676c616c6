-- The vendor's release database: modules with their change histories, and the
-- releases of each program that the update server offers.
-- Large pages: a long change history is read in one ordered sweep of its index,
-- and fewer, larger pages make that sweep cheaper. Takes effect on a new file only.
PRAGMA page_size = 65536;

CREATE TABLE module (
  name        TEXT PRIMARY KEY,  -- as the upgrade utility names it: ?Module=NAME
  title       TEXT NOT NULL,     -- the feed's channel title
  description TEXT NOT NULL      -- the feed's channel description
);

CREATE TABLE change (
  id          INTEGER PRIMARY KEY,
  module      TEXT NOT NULL REFERENCES module(name),
  title       TEXT NOT NULL,     -- first letter "E": an enhancement, anything else a fix
  description TEXT NOT NULL,
  published   TEXT NOT NULL      -- 'YYYY-MM-DD HH:MM:SS', the server's clock
);
-- Covers the feed's query whole (module, newest first, with its texts): a long
-- history is read from the index alone, in order, without a lookup per change.
CREATE INDEX change_by_module ON change(module, published, id, title, description);

CREATE TABLE release (
  program     TEXT NOT NULL,     -- the program's title as its user agent gives it
  built       TEXT NOT NULL,     -- 'YYYY-MM-DD'
  url         TEXT NOT NULL      -- where the release can be fetched
);
CREATE INDEX release_by_program ON release(program, built);
