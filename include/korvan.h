/* KORVAN: a device-independent plotting library.
 *
 * Every public routine exists in two forms: the plain form, and the
 * by-address form with a trailing underscore for callers that pass every
 * argument by address (Fortran). In the by-address form a text argument is
 * its address plus a length; the lengths follow all other arguments, in
 * order, passed by value. Keywords are significant in their first four
 * characters.
 *
 * A program draws on a landscape A4 page of 2969 x 2099 plot units. Misuse
 * never stops a plot: it prints a numbered warning and the call is ignored.
 */
#ifndef KORVAN_H
#define KORVAN_H

/* Only these routines are exported from a shared library. */
#if defined(__GNUC__) && !defined(_WIN32)
#pragma GCC visibility push(default)
#endif
#ifdef __cplusplus
extern "C" {
#endif

/* ---- initialisation, termination, information ---- */
void korini(void);
void korini_(void);
void korfin(void);
void korfin_(void);
void winini(void);
void winini_(void);
float getver(void);
float getver_(void);
int getplv(void);
int getplv_(void);
void gusrid(char* cuser);            /* an empty text */
void gusrid_(char* cuser, int len);  /* blank-filled */
void korlog(void);
void korlog_(void);
/* A program's own receiver of warnings: number (0 for the unnumbered
 * notices of messag and symbol), routine, the line as the console shows it
 * (without its leading blank), and the data given to wrncbk. C only. */
typedef void (*korvan_warning)(int number, const char* routine, const char* text, void* data);
/** 0-3: Hands every warning to fn (null: to nobody) besides the console and the error file. */
void wrncbk(korvan_warning fn, void* data);
/** 0-3: "OFF" keeps warnings and the protocol off the console (the error file and wrncbk still get them); "ON". */
void conmsg(const char* copt);
void conmsg_(const char* copt, int len);

/* ---- output selection and page ---- */
void metafl(const char* cfmt);
void metafl_(const char* cfmt, int len);
void pagorg(const char* copt);
void pagorg_(const char* copt, int len);
void pagera(void);
void pagera_(void);
void pagfll(int nclr);
void pagfll_(const int* nclr);
/** 0-1: Sets the delay of each frame of an animated GIF ("AGIF") in hundredths of a second. */
void frmdly(int n);
void frmdly_(const int* n);
/** 0: Names the output file of the next plots (no name: "korvan"), with the format's extension when it has none. */
void outfil(const char* cfil);
void outfil_(const char* cfil, int len);
/** 0: Chooses what an existing file of that name gets: "VERS" a new version, "OVER" replaced, "STOP" no output. */
void outmod(const char* cmode);
void outmod_(const char* cmode, int len);
/** 0: Sets the page in plot units (2969 x 2099 by default); korini derives axes and device sizes from it. */
void pagsiz(int nw, int nh);
void pagsiz_(const int* nw, const int* nh);
/** 0: Sets the pixel size of the raster outputs and the screen window instead of the one the page gives. */
void rassiz(int nw, int nh);
void rassiz_(const int* nw, const int* nh);
/** 0: "ON" keeps the file of the next plots in memory instead of writing it; "OFF" writes files again. */
void outmem(const char* cmode);
void outmem_(const char* cmode, int len);
/** 0: Copies up to size bytes of the last plot's file kept in memory and returns its full length. */
int outget(char* buffer, int size);
int outget_(char* buffer, const int* size, int len);

/* ---- device buffers ---- */
void erase(void);
void erase_(void);
void sendbf(void);
void sendbf_(void);
void winupd(void);
void winupd_(void);
void qqwext(const int* id, int* out);
void qqwext_(const int* id, int* out);

/* ---- lines, styles, widths, colours ---- */
void line(int nx1, int ny1, int nx2, int ny2);
void line_(const int* nx1, const int* ny1, const int* nx2, const int* ny2);
void linwid(int nwidth);
void linwid_(const int* nwidth);
void lintyp(int ntyp);
void lintyp_(const int* ntyp);
void myline(const int* nray, int n);
void myline_(const int* nray, const int* n);
void solid(void);
void solid_(void);
void dot(void);
void dot_(void);
void dash(void);
void dash_(void);
void chndsh(void);
void chndsh_(void);
void chndot(void);
void chndot_(void);
void dashm(void);
void dashm_(void);
void dotl(void);
void dotl_(void);
void dashl(void);
void dashl_(void);
void color(const char* cname);
void color_(const char* cname, int len);
void setvlt(const char* ctab);
void setvlt_(const char* ctab, int len);

/* ---- fills and shielding ---- */
void areaf(const int* nxray, const int* nyray, int n);
void areaf_(const int* nxray, const int* nyray, const int* n);
void shdpat(int ipat);
void shdpat_(const int* ipat);
void mypat(int iangle, int itype, int idens, int icross);
void mypat_(const int* iangle, const int* itype, const int* idens, const int* icross);
void shield(const char* cblnk, const char* cmode);
void shield_(const char* cblnk, const char* cmode, int len1, int len2);
void shlrec(int nx, int ny, int nw, int nh);
void shlrec_(const int* nx, const int* ny, const int* nw, const int* nh);
void shlrct(int nx, int ny, int nw, int nh, float angle);
void shlrct_(const int* nx, const int* ny, const int* nw, const int* nh, const float* angle);
void shlres(int n);
void shlres_(const int* n);

/* ---- figures and symbols ---- */
void arcell(int nx, int ny, int na, int nb, float alpha, float beta, float theta);
void arcell_(const int* nx, const int* ny, const int* na, const int* nb, const float* alpha,
             const float* beta, const float* theta);
void vector(int nx1, int ny1, int nx2, int ny2, int ivec);
void vector_(const int* nx1, const int* ny1, const int* nx2, const int* ny2, const int* ivec);
void symbol(int nsym, int nx, int ny);
void symbol_(const int* nsym, const int* nx, const int* ny);
void hsymbl(int nhsym);
void hsymbl_(const int* nhsym);

/* ---- text ---- */
/* Text is drawn with stroke fonts; (nx, ny) is the upper-left corner of the
 * text, (999, 999) continues where the last text ended. */
void messag(const char* text, int nx, int ny);
void messag_(const char* text, const int* nx, const int* ny, int len);
int nlmess(const char* text);  /* length in plot units */
int nlmess_(const char* text, int len);
void height(int n);
void height_(const int* n);
void angle(int deg);
void angle_(const int* deg);
void koralf(void);  /* the default font */
void koralf_(void);
void complx(void);  /* the complex font */
void complx_(void);
/* "ON": every string of messag and nlmess is read as TeX-style markup
 * ($x_i^2$, \frac{a}{b}, \sqrt[3]{x}, \alpha ...); "OFF" (after korini). */
void texmod(const char* copt);
void texmod_(const char* copt, int len);

/* ---- device fonts ---- */
/* A window font of the system for alphabet 1 (screen, Windows metafile);
 * a bitmap font "COMP", "SIMP" or "HELV" (screen, raster outputs). */
void winfnt(const char* cfont);
void winfnt_(const char* cfont, int len);
void x11fnt(const char* cfont, const char* copt);  /* not available: a warning */
void x11fnt_(const char* cfont, const char* copt, int len1, int len2);
void bmpfnt(const char* cfont);
void bmpfnt_(const char* cfont, int len);

/* ---- axis systems ----
 * graf defines an axis system at level 1 and raises the level to 2: the
 * axes run from xa to xe and ya to ye, labelled from xor and yor in steps of
 * xstep and ystep (on a logarithmic axis all four are powers of ten:
 * graf(..., -1, 3, -1, 1) labels 0.1 to 1000). endgrf ends it (level 1).
 * The setters take effect at the next graf; cax names the axes ("X", "Y",
 * "XY"). */
void graf(float xa, float xe, float xor_, float xstep, float ya, float ye, float yor,
          float ystep);
void graf_(const float* xa, const float* xe, const float* xor_, const float* xstep,
           const float* ya, const float* ye, const float* yor, const float* ystep);
void endgrf(void);
void endgrf_(void);
void xaxgit(void);                /* the line Y = 0 */
void xaxgit_(void);
void curve(const float* xray, const float* yray, int n);  /* user coordinates */
void curve_(const float* xray, const float* yray, const int* n);
void name(const char* cstr, const char* cax);             /* axis names */
void name_(const char* cstr, const char* cax, int len1, int len2);
void axslen(int nxl, int nyl);    /* axis lengths in plot units (level 1) */
void axslen_(const int* nxl, const int* nyl);
void axspos(int nxa, int nya);    /* lower-left corner (level 1) */
void axspos_(const int* nxa, const int* nya);
void labdig(int ndig, const char* cax);  /* decimals; -1 integer labels */
void labdig_(const int* ndig, const char* cax, int len);
void ticks(int ntic, const char* cax);   /* tick intervals per label step */
void ticks_(const int* ntic, const char* cax, int len);
void axsscl(const char* cscl, const char* cax);  /* "LIN" or "LOG" (level 1) */
void axsscl_(const char* cscl, const char* cax, int len1, int len2);

/* ---- calendar ----
 * Day numbers count from a base date, which this library does not set:
 * incdat and trfdat report the missing base date and give 0. nwkday gives
 * the weekday, 1 Monday .. 7 Sunday, or 0 for an impossible date. */
int incdat(int iday, int imonth, int iyear);
int incdat_(const int* iday, const int* imonth, const int* iyear);
void trfdat(int ndays, int* iday, int* imonth, int* iyear);
void trfdat_(const int* ndays, int* iday, int* imonth, int* iyear);
int nwkday(int iday, int imonth, int iyear);
int nwkday_(const int* iday, const int* imonth, const int* iyear);

#ifdef __cplusplus
}
#endif
#if defined(__GNUC__) && !defined(_WIN32)
#pragma GCC visibility pop
#endif

#endif /* KORVAN_H */
