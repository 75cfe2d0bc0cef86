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
--   * cmbex_cmd is ffmpeg arguments, put on the command line between the
--     input file and the output .mp4 in this order: video codec, video
--     bitrate, video size, frame rate, aspect, audio codec, audio bitrate,
--     channels, sampling. The line is split into arguments at blanks, so a
--     fragment is whole ffmpeg arguments separated by single blanks, without
--     quotes. An empty fragment adds nothing: ffmpeg keeps the source's
--     property (or picks the nearest one the chosen encoder supports).
--     Two kinds of entry are read by the program instead of passed on:
--       quality:<level>  (video bitrate) a constant quality; what it means
--                        for each encoder is in cmbex_vdoquality;
--       fit:<w>x<h>      (video size) the picture shrinks to fit that box,
--                        keeping its shape; it never grows.
--     Before each file the program checks the choices against the file
--     (what can be copied into MP4, how many channels and which sampling
--     rates an audio encoder takes) and refuses or adapts them.
--   * The codec drop-downs offer only entries whose encoder the installed
--     ffmpeg has; an entry with a hardware encoder (VA-API, NVENC, QSV) only
--     once a one-frame trial of this very fragment has worked.
--   * Every fragment must work with the starting choice of every other
--     drop-down (cmbex_itemindex below); the catalogue test converts a short
--     generated clip once per entry to prove it with the installed ffmpeg.
--   * Names are short enough to read in full in the window's drop-downs.
--
-- Written for Debian 12's ffmpeg 5.1 and for MP4 output. Options use the
-- stream-specifier spellings (-c:v, -b:v, -c:a, -b:a) throughout.

-- The catalogue's generation: raised whenever entries change meaning, so
-- that a user's older copy is renewed (their output folder and the choices
-- whose entries kept their names carried over).
pragma user_version = 2;

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

-- What a constant-quality entry of the video bitrate table (cmbex_cmd
-- 'quality:<level>') means for each encoder: one row per level and encoder
-- that a codec entry names. A level without a row for the chosen encoder
-- makes the program refuse the combination before converting.
create table cmbex_vdoquality (
  cmbex_level   text not null,
  cmbex_encoder text not null,
  cmbex_cmd     text not null,
  primary key (cmbex_level, cmbex_encoder)
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
-- The graphics-card encoders are offered only where their trial worked.
-- VA-API encodes frames in the card's memory: the picture goes there last
-- (the -vf chain here is appended to the program's own filters).
-- Copy passes the source's video through untouched; the program refuses it
-- with a size, frame-rate or aspect choice that would change the picture,
-- and for sources whose codec MP4 cannot hold (DV, WMV, FLV1, VP8, Theora,
-- MPEG-1/2, MJPEG, the Microsoft MPEG-4 flavours …).
insert into cmbex_vdocodec (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'H.264',          '-c:v libx264 -pix_fmt yuv420p'),
  (1, 'H.265 (HEVC)',   '-c:v libx265 -pix_fmt yuv420p -tag:v hvc1'),
  (2, 'AV1',            '-c:v libsvtav1'),
  (3, 'MPEG-4 Part 2',  '-c:v mpeg4'),
  (4, 'H.264 NVENC',    '-c:v h264_nvenc -pix_fmt yuv420p'),
  (5, 'H.265 NVENC',    '-c:v hevc_nvenc -pix_fmt yuv420p -tag:v hvc1'),
  (6, 'H.264 QSV',      '-c:v h264_qsv -pix_fmt nv12'),
  (7, 'H.265 QSV',      '-c:v hevc_qsv -pix_fmt nv12 -tag:v hvc1'),
  (8, 'H.264 VA-API',   '-vaapi_device /dev/dri/renderD128 -c:v h264_vaapi -vf format=nv12,hwupload'),
  (9, 'H.265 VA-API',   '-vaapi_device /dev/dri/renderD128 -c:v hevc_vaapi -tag:v hvc1 -vf format=nv12,hwupload'),
  (10, 'Copy video',    '-c:v copy');

-- ---------------------------------------------------------------------------
-- Video bitrate: a constant quality (the size follows the picture), or an
-- average bitrate ("k" is 1000 bits per second) for a size known in advance
-- ---------------------------------------------------------------------------
insert into cmbex_vdobitrate (cmbex_index, cmbex_name, cmbex_cmd) values
  (0,  'High quality',     'quality:high'),
  (1,  'Standard quality', 'quality:standard'),
  (2,  'Small file',       'quality:small'),
  (3,  '300 kb/s',         '-b:v 300k'),
  (4,  '500 kb/s',         '-b:v 500k'),
  (5,  '700 kb/s',         '-b:v 700k'),
  (6,  '1000 kb/s',        '-b:v 1000k'),
  (7,  '1200 kb/s',        '-b:v 1200k'),
  (8,  '1500 kb/s',        '-b:v 1500k'),
  (9,  '2000 kb/s',        '-b:v 2000k'),
  (10, '2500 kb/s',        '-b:v 2500k'),
  (11, '3000 kb/s',        '-b:v 3000k'),
  (12, '4000 kb/s',        '-b:v 4000k'),
  (13, '5000 kb/s',        '-b:v 5000k'),
  (14, '6000 kb/s',        '-b:v 6000k'),
  (15, '8000 kb/s',        '-b:v 8000k');

-- One quality means the same look whatever the encoder: each encoder has a
-- scale of its own (x264 and x265 CRF differ by about six steps for the
-- same look, SVT-AV1 runs to 63, MPEG-4 uses a quantiser). The presets
-- trade a little size for speed, as a desktop converter's defaults should.
insert into cmbex_vdoquality (cmbex_level, cmbex_encoder, cmbex_cmd) values
  ('high',     'libx264',    '-crf 20 -preset fast'),
  ('standard', 'libx264',    '-crf 24 -preset fast'),
  ('small',    'libx264',    '-crf 27 -preset fast'),
  ('high',     'libx265',    '-crf 23 -preset fast'),
  ('standard', 'libx265',    '-crf 27 -preset fast'),
  ('small',    'libx265',    '-crf 30 -preset fast'),
  ('high',     'libsvtav1',  '-crf 30 -preset 8'),
  ('standard', 'libsvtav1',  '-crf 36 -preset 8'),
  ('small',    'libsvtav1',  '-crf 42 -preset 8'),
  ('high',     'mpeg4',      '-q:v 3'),
  ('standard', 'mpeg4',      '-q:v 5'),
  ('small',    'mpeg4',      '-q:v 8'),
  ('high',     'h264_nvenc', '-rc vbr -cq 21 -b:v 0'),
  ('standard', 'h264_nvenc', '-rc vbr -cq 25 -b:v 0'),
  ('small',    'h264_nvenc', '-rc vbr -cq 28 -b:v 0'),
  ('high',     'hevc_nvenc', '-rc vbr -cq 24 -b:v 0'),
  ('standard', 'hevc_nvenc', '-rc vbr -cq 28 -b:v 0'),
  ('small',    'hevc_nvenc', '-rc vbr -cq 31 -b:v 0'),
  ('high',     'h264_qsv',   '-global_quality 21'),
  ('standard', 'h264_qsv',   '-global_quality 25'),
  ('small',    'h264_qsv',   '-global_quality 28'),
  ('high',     'hevc_qsv',   '-global_quality 24'),
  ('standard', 'hevc_qsv',   '-global_quality 28'),
  ('small',    'hevc_qsv',   '-global_quality 31'),
  ('high',     'h264_vaapi', '-rc_mode CQP -qp 21'),
  ('standard', 'h264_vaapi', '-rc_mode CQP -qp 25'),
  ('small',    'h264_vaapi', '-rc_mode CQP -qp 28'),
  ('high',     'hevc_vaapi', '-rc_mode CQP -qp 24'),
  ('standard', 'hevc_vaapi', '-rc_mode CQP -qp 28'),
  ('small',    'hevc_vaapi', '-rc_mode CQP -qp 31');

-- ---------------------------------------------------------------------------
-- Video size: the most the picture may measure as shown. It keeps its shape
-- (non-square pixels included), never grows, and comes out with even sides,
-- which the 4:2:0 encoders need; "Same as source" only rounds an odd side.
-- ---------------------------------------------------------------------------
insert into cmbex_vdosize (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'Same as source', ''),
  (1, 'Up to 240p',     'fit:426x240'),
  (2, 'Up to 360p',     'fit:640x360'),
  (3, 'Up to 480p',     'fit:854x480'),
  (4, 'Up to 576p',     'fit:1024x576'),
  (5, 'Up to 720p',     'fit:1280x720'),
  (6, 'Up to 1080p',    'fit:1920x1080'),
  (7, 'Up to 1440p',    'fit:2560x1440'),
  (8, 'Up to 4K',       'fit:3840x2160');

-- ---------------------------------------------------------------------------
-- Frame rate
-- ---------------------------------------------------------------------------
-- The NTSC rates are written as exact fractions: "-r 29.97" would be stored
-- as 2997/100, a rate no player or editor expects next to 30000/1001.
insert into cmbex_vdofps (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'Same as source', ''),
  (1, '15 fps',         '-r 15'),
  (2, '23.976 fps',     '-r 24000/1001'),
  (3, '24 fps',         '-r 24'),
  (4, '25 fps',         '-r 25'),
  (5, '29.97 fps',      '-r 30000/1001'),
  (6, '30 fps',         '-r 30'),
  (7, '50 fps',         '-r 50'),
  (8, '59.94 fps',      '-r 60000/1001'),
  (9, '60 fps',         '-r 60');

-- ---------------------------------------------------------------------------
-- Aspect ratio (display shape; the pixels are not rescaled, only flagged)
-- ---------------------------------------------------------------------------
insert into cmbex_vdoaspect (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'Same as source', ''),
  (1, '4:3',            '-aspect 4:3'),
  (2, '16:9',           '-aspect 16:9'),
  (3, '1:1 (square)',   '-aspect 1:1'),
  (4, '21:9',           '-aspect 21:9');

-- ---------------------------------------------------------------------------
-- Audio codec
-- ---------------------------------------------------------------------------
-- libopus, not ffmpeg's own experimental "opus" encoder, which would need
-- -strict experimental. What each encoder cannot take the program adapts
-- and says so in the file's tool tip: MP3 holds at most two channels, AC-3
-- six; AC-3 runs at 32, 44.1 or 48 kHz only, Opus at 48 kHz (and 24, 16,
-- 12, 8).
-- Copy keeps the source's sound untouched; the program refuses it with a
-- channel or sampling choice, and for codecs MP4 cannot hold (WMA, Vorbis,
-- PCM, AMR, MP2 …).
insert into cmbex_adocodec (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'AAC',          '-c:a aac'),
  (1, 'MP3',          '-c:a libmp3lame'),
  (2, 'AC-3 (Dolby)', '-c:a ac3'),
  (3, 'Opus',         '-c:a libopus'),
  (4, 'Copy sound',   '-c:a copy');

-- ---------------------------------------------------------------------------
-- Audio bitrate (for each sound track). Every value is also a legal AC-3
-- and MP3 rate, so no codec has to round it.
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
  (0, 'Same as source', ''),
  (1, 'Mono',           '-ac 1'),
  (2, 'Stereo',         '-ac 2'),
  (3, '5.1 surround',   '-ac 6');

-- ---------------------------------------------------------------------------
-- Sampling frequency
-- ---------------------------------------------------------------------------
insert into cmbex_adofreq (cmbex_index, cmbex_name, cmbex_cmd) values
  (0, 'Same as source', ''),
  (1, '22050 Hz',       '-ar 22050'),
  (2, '32000 Hz',       '-ar 32000'),
  (3, '44100 Hz (CD)',  '-ar 44100'),
  (4, '48000 Hz',       '-ar 48000');

-- ---------------------------------------------------------------------------
-- Starting choices: H.264 at standard quality, at most 1080p, and AAC at
-- 128 kb/s, keeping the source's frame rate, shape, channels and sampling:
-- a small MP4 that plays everywhere and changes nothing the user did not
-- ask for. Positions are looked up by name so that renumbering a table
-- cannot silently move a starting choice (a misspelt name yields NULL, which
-- the not-null constraint rejects).
-- ---------------------------------------------------------------------------
insert into cmbex_itemindex (cmbex_tag, cmbex_index) values
  (1, (select cmbex_index from cmbex_vdocodec    where cmbex_name = 'H.264')),
  (2, (select cmbex_index from cmbex_vdobitrate  where cmbex_name = 'Standard quality')),
  (3, (select cmbex_index from cmbex_vdosize     where cmbex_name = 'Up to 1080p')),
  (4, (select cmbex_index from cmbex_vdofps      where cmbex_name = 'Same as source')),
  (5, (select cmbex_index from cmbex_vdoaspect   where cmbex_name = 'Same as source')),
  (6, (select cmbex_index from cmbex_adocodec    where cmbex_name = 'AAC')),
  (7, (select cmbex_index from cmbex_adobitrate  where cmbex_name = '128 kb/s')),
  (8, (select cmbex_index from cmbex_adochannels where cmbex_name = 'Same as source')),
  (9, (select cmbex_index from cmbex_adofreq     where cmbex_name = 'Same as source'));

-- No folder saved yet: the program then uses its default output folder.
insert into savedir_videofile (dir_numb, dir_name) values ('001', '');

commit;
