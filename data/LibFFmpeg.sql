-- LibFFmpeg.Dat: the option catalogue and the saved settings of Movarin.
--
-- The build runs this file with the sqlite3 command-line program on an empty
-- file and places the result beside the executable only when no LibFFmpeg.Dat
-- is there yet, so editing this file never resets a user's saved choices;
-- delete the copy beside the executable to get the new catalogue.
--
-- How the program reads the catalogue
--   * Each option table feeds one drop-down. Entries are listed in ascending
--     cmbex_index, and the program later looks the chosen fragment up by the
--     entry's list position. cmbex_index must therefore run 0, 1, 2, ... with
--     no gap and no repeat, or the entries shown and the arguments used drift
--     apart. Insert a new entry by renumbering, not by appending a new number
--     somewhere in the middle.
--   * cmbex_name is what the user sees; the drop-downs complete typed text
--     against it, so start a name with the word a user would type.
--   * cmbex_cmd is pasted into the ffmpeg command line unchanged, between the
--     input file and the output .mp4, in this order: video codec, video
--     bitrate, video size, frame rate, aspect, audio codec, audio bitrate,
--     channels, sampling. The line is split into arguments at blanks, so a
--     fragment is whole ffmpeg arguments separated by single blanks, without
--     quotes. An empty fragment adds nothing: ffmpeg keeps the source's
--     property (or picks the nearest one the chosen encoder supports).
--   * Every fragment must work with the starting choice of every other
--     drop-down (cmbex_itemindex below); the catalogue test converts a short
--     generated clip once per entry to prove it with the installed ffmpeg.
--
-- Written for Debian 12's ffmpeg 5.1 and for MP4 output. Options use the
-- stream-specifier spellings (-c:v, -b:v, -c:a, -b:a) throughout.

begin transaction;

-- ---------------------------------------------------------------------------
-- Schema
-- ---------------------------------------------------------------------------

-- The saved choice of each drop-down, by the drop-down's tag (1 video codec,
-- 2 video bitrate, 3 video size, 4 frame rate, 5 aspect, 6 audio codec,
-- 7 audio bitrate, 8 channels, 9 sampling). -1 means "nothing selected".
create table cmbex_itemindex (
  cmbex_tag   integer primary key,
  cmbex_index integer not null
);

create table cmbex_vdocodec (
  cmbex_index integer primary key check (cmbex_index >= 0),
  cmbex_name  text not null,
  cmbex_cmd   text not null
);
create table cmbex_vdobitrate (
  cmbex_index integer primary key check (cmbex_index >= 0),
  cmbex_name  text not null,
  cmbex_cmd   text not null
);
create table cmbex_vdosize (
  cmbex_index integer primary key check (cmbex_index >= 0),
  cmbex_name  text not null,
  cmbex_cmd   text not null
);
create table cmbex_vdofps (
  cmbex_index integer primary key check (cmbex_index >= 0),
  cmbex_name  text not null,
  cmbex_cmd   text not null
);
create table cmbex_vdoaspect (
  cmbex_index integer primary key check (cmbex_index >= 0),
  cmbex_name  text not null,
  cmbex_cmd   text not null
);
create table cmbex_adocodec (
  cmbex_index integer primary key check (cmbex_index >= 0),
  cmbex_name  text not null,
  cmbex_cmd   text not null
);
create table cmbex_adobitrate (
  cmbex_index integer primary key check (cmbex_index >= 0),
  cmbex_name  text not null,
  cmbex_cmd   text not null
);
create table cmbex_adochannels (
  cmbex_index integer primary key check (cmbex_index >= 0),
  cmbex_name  text not null,
  cmbex_cmd   text not null
);
create table cmbex_adofreq (
  cmbex_index integer primary key check (cmbex_index >= 0),
  cmbex_name  text not null,
  cmbex_cmd   text not null
);

-- The output folder; the program uses only the row keyed '001'.
create table savedir_videofile (
  dir_numb text primary key,
  dir_name text not null
);

-- ---------------------------------------------------------------------------
-- Video codec
-- ---------------------------------------------------------------------------
-- -pix_fmt yuv420p with x264 and x265: given a 4:2:2, 4:4:4 or 10-bit source
-- (screen recordings, camera and editing formats) both encoders would keep
-- that format and write a High 4:4:4 / Main 4:4:4 stream that most players,
-- browsers, phones and TVs refuse to open. MPEG-4 Part 2 and SVT-AV1 accept
-- only 4:2:0 and convert by themselves.
-- -tag:v hvc1: ffmpeg marks HEVC in MP4 as 'hev1' by default, which Apple's
-- players will not play; 'hvc1' is the form every player accepts.
-- SVT-AV1 switches to bitrate-targeted encoding when -b:v is given; it needs
-- even frame sizes, which every entry of the size table has.
-- Copy passes the source's video through untouched: the bitrate, size and
-- frame-rate choices are then ignored (only -aspect still applies, as a
-- container flag), and it fails for sources whose codec MP4 cannot hold
-- (for example WMV, FLV1/Sorenson, VP6, Theora or RealVideo).
insert into cmbex_vdocodec (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'H.264 (x264)',                   '-c:v libx264 -pix_fmt yuv420p'),
  (1, 'H.265/HEVC (x265)',              '-c:v libx265 -pix_fmt yuv420p -tag:v hvc1'),
  (2, 'MPEG-4 Part 2',                  '-c:v mpeg4'),
  (3, 'AV1 (SVT-AV1)',                  '-c:v libsvtav1'),
  (4, 'Copy (keep the source video)',   '-c:v copy');

-- ---------------------------------------------------------------------------
-- Video bitrate (average target; "k" is 1000 bits per second)
-- ---------------------------------------------------------------------------
insert into cmbex_vdobitrate (cmbex_index, cmbex_name, cmbex_cmd) values
  (0,  '300 kb/s',  '-b:v 300k'),
  (1,  '500 kb/s',  '-b:v 500k'),
  (2,  '700 kb/s',  '-b:v 700k'),
  (3,  '1000 kb/s', '-b:v 1000k'),
  (4,  '1200 kb/s', '-b:v 1200k'),
  (5,  '1500 kb/s', '-b:v 1500k'),
  (6,  '2000 kb/s', '-b:v 2000k'),
  (7,  '2500 kb/s', '-b:v 2500k'),
  (8,  '3000 kb/s', '-b:v 3000k'),
  (9,  '4000 kb/s', '-b:v 4000k'),
  (10, '5000 kb/s', '-b:v 5000k'),
  (11, '6000 kb/s', '-b:v 6000k'),
  (12, '8000 kb/s', '-b:v 8000k');

-- ---------------------------------------------------------------------------
-- Video size
-- ---------------------------------------------------------------------------
-- -s scales to exactly this size; ffmpeg adjusts the pixel aspect so that the
-- picture keeps the source's shape unless an aspect entry says otherwise.
-- All sizes are even, as the 4:2:0 encoders above require.
insert into cmbex_vdosize (cmbex_index, cmbex_name, cmbex_cmd) values
  (0,  'Same as source',       ''),
  (1,  '320x240 (QVGA)',       '-s 320x240'),
  (2,  '640x360 (360p)',       '-s 640x360'),
  (3,  '640x480 (VGA)',        '-s 640x480'),
  (4,  '720x480 (DVD NTSC)',   '-s 720x480'),
  (5,  '854x480 (480p)',       '-s 854x480'),
  (6,  '720x576 (DVD PAL)',    '-s 720x576'),
  (7,  '1024x576 (576p wide)', '-s 1024x576'),
  (8,  '1280x720 (720p)',      '-s 1280x720'),
  (9,  '1920x1080 (1080p)',    '-s 1920x1080'),
  (10, '2560x1440 (1440p)',    '-s 2560x1440'),
  (11, '3840x2160 (4K UHD)',   '-s 3840x2160');

-- ---------------------------------------------------------------------------
-- Frame rate
-- ---------------------------------------------------------------------------
-- The NTSC rates are written as exact fractions: "-r 29.97" would be stored
-- as 2997/100, a rate no player or editor expects next to 30000/1001.
insert into cmbex_vdofps (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'Same as source',     ''),
  (1, '15 fps',             '-r 15'),
  (2, '23.976 fps (film)',  '-r 24000/1001'),
  (3, '24 fps (cinema)',    '-r 24'),
  (4, '25 fps (PAL)',       '-r 25'),
  (5, '29.97 fps (NTSC)',   '-r 30000/1001'),
  (6, '30 fps',             '-r 30'),
  (7, '50 fps',             '-r 50'),
  (8, '59.94 fps',          '-r 60000/1001'),
  (9, '60 fps',             '-r 60');

-- ---------------------------------------------------------------------------
-- Aspect ratio (display shape; the pixels are not rescaled, only flagged)
-- ---------------------------------------------------------------------------
insert into cmbex_vdoaspect (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'Same as source',       ''),
  (1, '4:3 (standard)',       '-aspect 4:3'),
  (2, '16:9 (widescreen)',    '-aspect 16:9'),
  (3, '1:1 (square)',         '-aspect 1:1'),
  (4, '21:9 (cinema wide)',   '-aspect 21:9');

-- ---------------------------------------------------------------------------
-- Audio codec
-- ---------------------------------------------------------------------------
-- libopus, not ffmpeg's own experimental "opus" encoder, which would need
-- -strict experimental. Opus runs at 48000 Hz only (and 24/16/12/8 kHz):
-- with "Same as source" ffmpeg resamples by itself, but an explicit 22050,
-- 32000 or 44100 Hz choice makes libopus refuse to start.
-- AC-3 accepts 32000, 44100 and 48000 Hz only, so it refuses 22050 Hz.
-- MP3 holds mono or stereo only, so it refuses the 5.1 choice.
-- Copy keeps the source's audio untouched (bitrate, channels and sampling
-- are then ignored) and fails for codecs MP4 cannot hold (for example WMA,
-- RealAudio or the plain PCM of WAV, AVI and MOV files).
insert into cmbex_adocodec (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'AAC',                            '-c:a aac'),
  (1, 'MP3 (LAME)',                     '-c:a libmp3lame'),
  (2, 'AC-3 (Dolby Digital)',           '-c:a ac3'),
  (3, 'Opus',                           '-c:a libopus'),
  (4, 'Copy (keep the source audio)',   '-c:a copy');

-- ---------------------------------------------------------------------------
-- Audio bitrate (total for all channels). Every value is also a legal
-- AC-3 and MP3 rate, so no codec has to round it.
-- ---------------------------------------------------------------------------
insert into cmbex_adobitrate (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, '64 kb/s',  '-b:a 64k'),
  (1, '96 kb/s',  '-b:a 96k'),
  (2, '128 kb/s', '-b:a 128k'),
  (3, '160 kb/s', '-b:a 160k'),
  (4, '192 kb/s', '-b:a 192k'),
  (5, '224 kb/s', '-b:a 224k'),
  (6, '256 kb/s', '-b:a 256k'),
  (7, '320 kb/s', '-b:a 320k');

-- ---------------------------------------------------------------------------
-- Audio channels
-- ---------------------------------------------------------------------------
-- ffmpeg counts channels, not layouts: 5.1 is five full-range speakers plus
-- the low-frequency one, six channels, for which ffmpeg picks the 5.1 layout.
insert into cmbex_adochannels (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'Same as source',             ''),
  (1, 'Mono (1 channel)',           '-ac 1'),
  (2, 'Stereo (2 channels)',        '-ac 2'),
  (3, '5.1 surround (6 channels)',  '-ac 6');

-- ---------------------------------------------------------------------------
-- Sampling frequency
-- ---------------------------------------------------------------------------
insert into cmbex_adofreq (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'Same as source',   ''),
  (1, '22050 Hz',         '-ar 22050'),
  (2, '32000 Hz',         '-ar 32000'),
  (3, '44100 Hz (CD)',    '-ar 44100'),
  (4, '48000 Hz (video)', '-ar 48000');

-- ---------------------------------------------------------------------------
-- Starting choices: H.264 at 1500 kb/s and AAC stereo at 128 kb/s, keeping the
-- source's size, frame rate, shape and sampling. Sampling stays "Same as
-- source" so that any audio codec the user picks first works; stereo plays
-- everywhere and lets MP3 work on 5.1 sources. Positions are looked up by
-- name so that renumbering a table cannot silently move a starting choice
-- (a misspelt name yields NULL, which the not-null constraint rejects).
-- ---------------------------------------------------------------------------
insert into cmbex_itemindex (cmbex_tag, cmbex_index) values
  (1, (select cmbex_index from cmbex_vdocodec    where cmbex_name = 'H.264 (x264)')),
  (2, (select cmbex_index from cmbex_vdobitrate  where cmbex_name = '1500 kb/s')),
  (3, (select cmbex_index from cmbex_vdosize     where cmbex_name = 'Same as source')),
  (4, (select cmbex_index from cmbex_vdofps      where cmbex_name = 'Same as source')),
  (5, (select cmbex_index from cmbex_vdoaspect   where cmbex_name = 'Same as source')),
  (6, (select cmbex_index from cmbex_adocodec    where cmbex_name = 'AAC')),
  (7, (select cmbex_index from cmbex_adobitrate  where cmbex_name = '128 kb/s')),
  (8, (select cmbex_index from cmbex_adochannels where cmbex_name = 'Stereo (2 channels)')),
  (9, (select cmbex_index from cmbex_adofreq     where cmbex_name = 'Same as source'));

-- No folder saved yet: the program then uses its default output folder.
insert into savedir_videofile (dir_numb, dir_name) values ('001', '');

commit;
