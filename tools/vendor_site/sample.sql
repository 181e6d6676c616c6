-- Sample data for the demo and the tests (load after schema.sql).
INSERT INTO module VALUES
  ('ABC', 'Calvaro ABC change history', 'Changes to the ABC module of Calvaro'),
  ('LEDGER', 'Calvaro Ledger change history', 'Changes to the general ledger & its reports');

INSERT INTO change (module, title, description, published) VALUES
  ('ABC', 'E102 Faster scans', 'Scanning a warehouse takes half the time it did', '2021-07-06 09:30:00'),
  ('ABC', 'F311 Totals < 0', 'Negative totals no longer print as 0 & are shown in red', '2021-06-28 16:05:00'),
  ('ABC', 'E099 Café labels', 'Labels print accented names: Café Zürich, Ærø, Łódź, 東京', '2021-05-17 08:00:00'),
  ('ABC', 'e098 Minor wording', 'Dialog texts reworded', '2021-04-01 12:00:00'),
  ('LEDGER', 'E210 Period close', 'Closing a period checks open batches first', '2021-03-02 10:15:00');

INSERT INTO release VALUES
  ('Calvaro Upgrade Utility', '2021-07-05', 'http://downloads.morvend.com/calvaro-upgrade/2021-07-05/calvaro-upgrade.msi'),
  ('Calvaro Upgrade Utility', '2022-03-14', 'http://downloads.morvend.com/calvaro-upgrade/2022-03-14/calvaro-upgrade.msi');
