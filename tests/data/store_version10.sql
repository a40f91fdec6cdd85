-- A store of version 10 as that version wrote it (sqlite3 .dump), cut to what its migration
-- reads: five items, two accounts (Work: one collection for events and tasks; Family and Chores:
-- two), four items linked and one sync token.
PRAGMA foreign_keys=OFF;
BEGIN TRANSACTION;
CREATE TABLE items (oid INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL, uid TEXT, zone TEXT, kept TEXT, subject TEXT, location TEXT, categories TEXT, body TEXT, start_at REAL, end_at REAL, all_day INTEGER, busy INTEGER, sensitivity INTEGER, reminder_set INTEGER, reminder_minutes INTEGER, reminder_options INTEGER, reminder_sound TEXT, start_date REAL, due_date REAL, date_completed REAL, reminder_time REAL, importance INTEGER, complete INTEGER);
INSERT INTO items VALUES(1,1,'local-1@example.org','',replace(replace('BEGIN:VEVENT\r\nUID:local-1@example.org\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260310T090000\r\nDTEND:20260310T100000\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\n','\r',char(13)),'\n',char(10)),'Dentist','','','',46091.375000000000001,46091.416666666664243,0,2,0,0,15,0,'',949998.0,949998.0,949998.0,949998.0,1,0);
INSERT INTO items VALUES(2,1,'work-1@example.org','',replace(replace('BEGIN:VEVENT\r\nUID:work-1@example.org\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260311T090000\r\nDTEND:20260311T100000\r\nSUMMARY:Standup\r\nEND:VEVENT\r\n','\r',char(13)),'\n',char(10)),'Standup','','','',46092.374999999999999,46092.416666666664241,0,2,0,0,15,0,'',949998.0,949998.0,949998.0,949998.0,1,0);
INSERT INTO items VALUES(3,1,'family-1@example.org','',replace(replace('BEGIN:VEVENT\r\nUID:family-1@example.org\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260312T090000\r\nDTEND:20260312T100000\r\nSUMMARY:Dinner\r\nEND:VEVENT\r\n','\r',char(13)),'\n',char(10)),'Dinner','','','',46093.374999999999997,46093.41666666666424,0,2,0,0,15,0,'',949998.0,949998.0,949998.0,949998.0,1,0);
INSERT INTO items VALUES(4,3,'task-1@example.org','',replace(replace('BEGIN:VTODO\r\nUID:task-1@example.org\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:Report\r\nEND:VTODO\r\n','\r',char(13)),'\n',char(10)),'Report','','','',0.0,0.0,0,2,0,0,15,0,'',949998.0,949998.0,949998.0,949998.0,1,0);
INSERT INTO items VALUES(5,3,'task-2@example.org','',replace(replace('BEGIN:VTODO\r\nUID:task-2@example.org\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:Groceries\r\nEND:VTODO\r\n','\r',char(13)),'\n',char(10)),'Groceries','','','',0.0,0.0,0,2,0,0,15,0,'',949998.0,949998.0,949998.0,949998.0,1,0);
CREATE TABLE patterns (oid INTEGER PRIMARY KEY, type INTEGER, pattern_start REAL, start_time REAL, end_time REAL, pattern_end REAL, no_end INTEGER, occurrences INTEGER, interval_count INTEGER, day_mask INTEGER, day_of_month INTEGER, instance INTEGER, duration INTEGER, month_of_year INTEGER);
CREATE TABLE exceptions (oid INTEGER NOT NULL, original_date REAL NOT NULL, deleted INTEGER, kept TEXT, subject TEXT, location TEXT, categories TEXT, body TEXT, start_at REAL, end_at REAL, all_day INTEGER, busy INTEGER, sensitivity INTEGER, reminder_set INTEGER, reminder_minutes INTEGER, reminder_options INTEGER, reminder_sound TEXT, start_date REAL, due_date REAL, date_completed REAL, reminder_time REAL, importance INTEGER, complete INTEGER, PRIMARY KEY (oid, original_date));
CREATE VIRTUAL TABLE find_text USING fts5(text, tokenize = 'trigram');
INSERT INTO find_text (rowid, text) VALUES (1, 'dentist'), (2, 'standup'), (3, 'dinner'), (4, 'report'), (5, 'groceries');
CREATE TABLE store_identity (id TEXT NOT NULL);
INSERT INTO store_identity VALUES('cbaa48eff81558f72ae0d2c3fe92d2fc');
CREATE TABLE sync_accounts (id INTEGER PRIMARY KEY AUTOINCREMENT, server TEXT, user TEXT, event_calendar TEXT, task_calendar TEXT, event_calendar_name TEXT, task_calendar_name TEXT);
INSERT INTO sync_accounts VALUES(1,'http://127.0.0.1:5232/','anna','http://127.0.0.1:5232/anna/work/','http://127.0.0.1:5232/anna/work/','Work','Work');
INSERT INTO sync_accounts VALUES(2,'http://127.0.0.1:8000/','anna','http://127.0.0.1:8000/anna/calendars/family/','http://127.0.0.1:8000/anna/calendars/chores/','Family','Chores');
CREATE TABLE sync_calendars (url TEXT PRIMARY KEY, token TEXT, ctag TEXT);
INSERT INTO sync_calendars VALUES('http://127.0.0.1:5232/anna/work/','http://radicale.org/ns/sync/abc','');
CREATE TABLE sync_links (oid INTEGER PRIMARY KEY, calendar TEXT, href TEXT, etag TEXT, change INTEGER NOT NULL, pushed INTEGER NOT NULL, conflict INTEGER NOT NULL);
INSERT INTO sync_links VALUES(1,NULL,NULL,NULL,1,0,0);
INSERT INTO sync_links VALUES(2,'http://127.0.0.1:5232/anna/work/','/anna/work/work-1@example.org.ics','"w1"',1,1,0);
INSERT INTO sync_links VALUES(3,'http://127.0.0.1:8000/anna/calendars/family/','/anna/calendars/family/family-1@example.org.ics','"f1"',1,1,0);
INSERT INTO sync_links VALUES(4,'http://127.0.0.1:5232/anna/work/','/anna/work/task-1@example.org.ics','"t1"',3,2,0);
INSERT INTO sync_links VALUES(5,'http://127.0.0.1:8000/anna/calendars/chores/','/anna/calendars/chores/task-2@example.org.ics','"c1"',1,1,0);
CREATE TABLE sync_tombstones (calendar TEXT NOT NULL, href TEXT NOT NULL, etag TEXT, uid TEXT, PRIMARY KEY (calendar, href));
CREATE TABLE sync_skipped (calendar TEXT NOT NULL, href TEXT NOT NULL, etag TEXT, reason TEXT, PRIMARY KEY (calendar, href));
PRAGMA user_version = 10;
COMMIT;
