-- Two benchmark modules for the vendor database: BENCH20 with 20 changes and
-- BENCH40K with 40,000 (and the same 20 again), dates spread over 5000 hours.
INSERT INTO module VALUES ('BENCH20', 'Bench 20', 'Twenty changes'),
                          ('BENCH40K', 'Bench 40K', 'Forty thousand changes');
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000)
INSERT INTO change (module, title, description, published)
SELECT CASE WHEN i <= 20 THEN 'BENCH20' ELSE 'BENCH40K' END,
       CASE WHEN i % 3 = 0 THEN 'F' ELSE 'E' END || i || ' Change ' || i,
       'Change number ' || i || ': scanning, labels & totals reworked for the warehouse',
       datetime('2021-07-05', '-' || (i % 5000) || ' hours')
FROM n;
INSERT INTO change (module, title, description, published)
SELECT 'BENCH40K', title, description, published FROM change WHERE module = 'BENCH20';
