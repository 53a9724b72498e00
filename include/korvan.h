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
/** 0: Starts a plot: opens the output chosen and resets every plotting parameter. */
void korini(void);
void korini_(void);
/** 1-3: Ends the plot: finishes and closes the output and prints the end-of-run protocol. */
void korfin(void);
void korfin_(void);
/** 0: Runs without a console: warnings go to an error file and the protocol to a message box. */
void winini(void);
void winini_(void);
/** any: Returns the version of the library. */
float getver(void);
float getver_(void);
/** any: Returns the patch level of the library. */
int getplv(void);
int getplv_(void);
/** any: Gives the user identification, an empty text. */
void gusrid(char* cuser);            /* an empty text */
void gusrid_(char* cuser, int len);  /* blank-filled */
/** any: Does nothing; kept for programs that call it. */
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
/** 0: Chooses the output: a screen window or a file format by its keyword. */
void metafl(const char* cfmt);
void metafl_(const char* cfmt, int len);
/** 0: Draws the raster image files and the screen window anti-aliased ("ON") or not ("OFF"). */
void smooth(const char* cmode);
void smooth_(const char* cmode, int len);
/** 0: Chooses the page background: "WHIT" with dark default colours, "BLAC", or "AUTO". */
void pagbkg(const char* copt);
void pagbkg_(const char* copt, int len);
/** 1-3: Puts the page origin at the "TOP" or the "BOTTOM" left corner. */
void pagorg(const char* copt);
void pagorg_(const char* copt, int len);
/** 1-3: Draws a border around the page. */
void pagera(void);
void pagera_(void);
/** 1-3: Fills the whole page with a colour index. */
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
/** 1-3: Erases the page. */
void erase(void);
void erase_(void);
/** 1-3: Makes everything drawn so far visible. */
void sendbf(void);
void sendbf_(void);
/** 0-3: Updates the screen window. */
void winupd(void);
void winupd_(void);
/** 0-3: Gives the identifier of the screen window. */
void qqwext(const int* id, int* out);
void qqwext_(const int* id, int* out);

/* ---- lines, styles, widths, colours ---- */
/** 1-3: Draws a line between two points in plot units. */
void line(int nx1, int ny1, int nx2, int ny2);
void line_(const int* nx1, const int* ny1, const int* nx2, const int* ny2);
/** 1-3: Sets the line width in plot units. */
void linwid(int nwidth);
void linwid_(const int* nwidth);
/** 1-3: Sets one of the eight line styles. */
void lintyp(int ntyp);
void lintyp_(const int* ntyp);
/** 1-3: Sets a line style of its own from pen-down and pen-up lengths. */
void myline(const int* nray, int n);
void myline_(const int* nray, const int* n);
/** 1-3: Sets solid lines. */
void solid(void);
void solid_(void);
/** 1-3: Sets dotted lines. */
void dot(void);
void dot_(void);
/** 1-3: Sets dashed lines. */
void dash(void);
void dash_(void);
/** 1-3: Sets lines of long and short dashes. */
void chndsh(void);
void chndsh_(void);
/** 1-3: Sets dash-dotted lines. */
void chndot(void);
void chndot_(void);
/** 1-3: Sets lines of medium dashes. */
void dashm(void);
void dashm_(void);
/** 1-3: Sets lines of widely spaced dots. */
void dotl(void);
void dotl_(void);
/** 1-3: Sets lines of long dashes. */
void dashl(void);
void dashl_(void);
/** 1-3: Sets the current colour by its name. */
void color(const char* cname);
void color_(const char* cname, int len);
/** 1-3: Loads a colour table by its name. */
void setvlt(const char* ctab);
void setvlt_(const char* ctab, int len);
/** 1-3: Sets the current colour by its index 0-255 in the colour table. */
void setclr(int nclr);
void setclr_(const int* nclr);
/** 1-3: Sets the current colour to the table entry nearest to red, green and blue (0-1). */
void setrgb(float xr, float xg, float xb);
void setrgb_(const float* xr, const float* xg, const float* xb);
/** 1-3: Sets entry nclr of the colour table to red, green and blue (0-1). */
void setind(int nclr, float xr, float xg, float xb);
void setind_(const int* nclr, const float* xr, const float* xg, const float* xb);

/* ---- polylines and clipping in plot units ---- */
/** 1-3: Starts a line at (nx, ny) in plot units, in the current line style. */
void strtpt(int nx, int ny);
void strtpt_(const int* nx, const int* ny);
/** 1-3: Continues the line to (nx, ny) in plot units. */
void connpt(int nx, int ny);
void connpt_(const int* nx, const int* ny);
/** 1-3: Draws a polyline through n points in plot units, in the current line style. */
void polyln(const int* nxray, const int* nyray, int n);
void polyln_(const int* nxray, const int* nyray, const int* n);
/** 1-3: Sets the clipping window: upper-left corner (nx, ny), width nw and height nh. */
void clpwin(int nx, int ny, int nw, int nh);
void clpwin_(const int* nx, const int* ny, const int* nw, const int* nh);
/** 1-3: Makes the whole page the clipping window again. */
void unclip(void);
void unclip_(void);

/* ---- fills and shielding ---- */
/** 1-3: Fills a polygon with the current shading pattern. */
void areaf(const int* nxray, const int* nyray, int n);
void areaf_(const int* nxray, const int* nyray, const int* n);
/** 1-3: Chooses one of the shading patterns. */
void shdpat(int ipat);
void shdpat_(const int* ipat);
/** 1-3: Defines a hatching pattern of its own. */
void mypat(int iangle, int itype, int idens, int icross);
void mypat_(const int* iangle, const int* itype, const int* idens, const int* icross);
/** 1-3: Sets the density 0-9 of the current shading pattern's lines. */
void shdden(int nden);
void shdden_(const int* nden);
/** 1-3: Switches the shielding of regions and of text. */
void shield(const char* cblnk, const char* cmode);
void shield_(const char* cblnk, const char* cmode, int len1, int len2);
/** 1-3: Shields a rectangle from drawing. */
void shlrec(int nx, int ny, int nw, int nh);
void shlrec_(const int* nx, const int* ny, const int* nw, const int* nh);
/** 1-3: Shields a turned rectangle from drawing. */
void shlrct(int nx, int ny, int nw, int nh, float angle);
void shlrct_(const int* nx, const int* ny, const int* nw, const int* nh, const float* angle);
/** 1-3: Releases the last shielded regions. */
void shlres(int n);
void shlres_(const int* n);

/* ---- figures and symbols ---- */
/** 1-3: Draws an elliptical arc, turned by an angle. */
void arcell(int nx, int ny, int na, int nb, float alpha, float beta, float theta);
void arcell_(const int* nx, const int* ny, const int* na, const int* nb, const float* alpha,
             const float* beta, const float* theta);
/** 1-3: Draws a vector with arrow heads. */
void vector(int nx1, int ny1, int nx2, int ny2, int ivec);
void vector_(const int* nx1, const int* ny1, const int* nx2, const int* ny2, const int* ivec);
/** 1-3: Sets the arrow form that vector draws when it is given the form -1. */
void vecfrm(int ivec);
void vecfrm_(const int* ivec);
/** 1-3: Draws a symbol centred on a point. */
void symbol(int nsym, int nx, int ny);
void symbol_(const int* nsym, const int* nx, const int* ny);
/** 1-3: Sets the height of symbols. */
void hsymbl(int nhsym);
void hsymbl_(const int* nhsym);
/** 1-3: Sets the angle of symbols in degrees, counterclockwise. */
void symrot(float xang);
void symrot_(const float* xang);
/** 1-3: Sets the length in plot units of the segments that draw ellipses and arcs. */
void arcstp(float xstep);
void arcstp_(const float* xstep);
/** 1-3: Switches the outline of ellipses and arcs "ON" or "OFF". */
void outlin(const char* copt);
void outlin_(const char* copt, int len);

/* ---- text ---- */
/* Text is drawn with stroke fonts; (nx, ny) is the upper-left corner of the
 * text, (999, 999) continues where the last text ended. */
/** 1-3: Draws a text with its upper-left corner at a point. */
void messag(const char* text, int nx, int ny);
void messag_(const char* text, const int* nx, const int* ny, int len);
/** 1-3: Returns the length of a text in plot units. */
int nlmess(const char* text);  /* length in plot units */
int nlmess_(const char* text, int len);
/** 1-3: Sets the character height. */
void height(int n);
void height_(const int* n);
/** 1-3: Sets the angle of texts in degrees. */
void angle(int deg);
void angle_(const int* deg);
/** 1-3: Sets the default stroke font. */
void koralf(void);  /* the default font */
void koralf_(void);
/** 1-3: Sets the complex stroke font. */
void complx(void);  /* the complex font */
void complx_(void);
/* "ON": every string of messag and nlmess is read as TeX-style markup
 * ($x_i^2$, \frac{a}{b}, \sqrt[3]{x}, \alpha ...); "OFF" (after korini). */
/** 1-3: Switches TeX-style markup in texts "ON" or "OFF". */
void texmod(const char* copt);
void texmod_(const char* copt, int len);
/** 1-3: Sets the justification of messag: "LEFT", "CENT" or "RIGH". */
void txtjus(const char* copt);
void txtjus_(const char* copt, int len);
/** 1-3: Sets the thickness of the frame around texts (0 none) and its colour (-1 current). */
void txtfrm(int nthk, int nclr);
void txtfrm_(const int* nthk, const int* nclr);
/** 1-3: Switches exponents and indices "ON" or "OFF" with their raise, lower and reset characters. */
void expctl(const char* copt, const char* cchrs);
void expctl_(const char* copt, const char* cchrs, int len1, int len2);
/** 1-3: Switches accented letters "ON" or "OFF" with up to seven escape characters. */
void umlaut(const char* copt, const char* cesc);
void umlaut_(const char* copt, const char* cesc, int len1, int len2);
/** 1-3: Switches the mixing of alphabets in a string "ON" or "OFF". */
void mixalf(const char* copt);
void mixalf_(const char* copt, int len);
/** 1-3: Defines mixing slot 1-6: alphabet 1-7 (7 instructions, 0 clears) and its on and off characters. */
void mixdef(int nslot, int nalph, const char* cchrs);
void mixdef_(const int* nslot, const int* nalph, const char* cchrs, int len);
/** 1-3: Sets how codes above 126 are read: 0 font positions, 1 and 2 ISO 8859-1 tables. */
void txtcod(int ncode);
void txtcod_(const int* ncode);
/** 1-3: Sets the width, spacing and slant factors of the characters. */
void txtfac(float xwidth, float xspace, float xslant);
void txtfac_(const float* xwidth, const float* xspace, const float* xslant);
/** 1-3: Switches fixed pitch "ON" or "OFF" with its spacing factor. */
void fixpit(const char* copt, float xfac);
void fixpit_(const char* copt, const float* xfac, int len);
/** 1-3: Sets the escape character of TeX-style strings. */
void texesc(const char* cesc);
void texesc_(const char* cesc, int len);

/* ---- device fonts ---- */
/* A window font of the system for alphabet 1 (screen, Windows metafile);
 * a bitmap font "COMP", "SIMP" or "HELV" (screen, raster outputs). */
/** 1-3: Sets a window font of the system for texts. */
void winfnt(const char* cfont);
void winfnt_(const char* cfont, int len);
/** 1-3: Gives a warning: this font form is not available. */
void x11fnt(const char* cfont, const char* copt);  /* not available: a warning */
void x11fnt_(const char* cfont, const char* copt, int len1, int len2);
/** 1-3: Sets a bitmap font for texts. */
void bmpfnt(const char* cfont);
void bmpfnt_(const char* cfont, int len);

/* ---- axis systems ----
 * graf defines an axis system at level 1 and raises the level to 2: the
 * axes run from xa to xe and ya to ye, labelled from xor and yor in steps of
 * xstep and ystep (on a logarithmic axis all four are powers of ten:
 * graf(..., -1, 3, -1, 1) labels 0.1 to 1000). endgrf ends it (level 1).
 * The setters take effect at the next graf; cax names the axes ("X", "Y",
 * "XY"). */
/** 1: Defines and draws an axis system, which raises the level to 2. */
void graf(float xa, float xe, float xor_, float xstep, float ya, float ye, float yor,
          float ystep);
void graf_(const float* xa, const float* xe, const float* xor_, const float* xstep,
           const float* ya, const float* ye, const float* yor, const float* ystep);
/** 1-3: Ends the axis system, back to level 1. */
void endgrf(void);
void endgrf_(void);
/** 2-3: Draws the line Y = 0 in the axis system. */
void xaxgit(void);                /* the line Y = 0 */
void xaxgit_(void);
/** 2-3: Draws a polyline of user coordinates in the axis system. */
void curve(const float* xray, const float* yray, int n);  /* user coordinates */
void curve_(const float* xray, const float* yray, const int* n);
/** 1-3: Sets the distance in plot units within which curve leaves out points on a straight line (0: none). */
void crvtol(float tol);
void crvtol_(const float* tol);
/** 1-3: Sets the names of axes. */
void name(const char* cstr, const char* cax);             /* axis names */
void name_(const char* cstr, const char* cax, int len1, int len2);
/** 1: Sets the axis lengths in plot units. */
void axslen(int nxl, int nyl);    /* axis lengths in plot units (level 1) */
void axslen_(const int* nxl, const int* nyl);
/** 1: Sets the lower-left corner of the axis system. */
void axspos(int nxa, int nya);    /* lower-left corner (level 1) */
void axspos_(const int* nxa, const int* nya);
/** 1-3: Sets the decimals of the labels of axes. */
void labdig(int ndig, const char* cax);  /* decimals; -1 integer labels */
void labdig_(const int* ndig, const char* cax, int len);
/** 1-3: Sets the number of tick intervals per label step of axes. */
void ticks(int ntic, const char* cax);   /* tick intervals per label step */
void ticks_(const int* ntic, const char* cax, int len);
/** 1: Sets "LIN" or "LOG" scaling of axes. */
void axsscl(const char* cscl, const char* cax);  /* "LIN" or "LOG" (level 1) */
void axsscl_(const char* cscl, const char* cax, int len1, int len2);
/** 1-3: Sets the label form: "NONE", "FLOA", "EXPO", "EXPE", "LOG", "USER", "DATE", "TIME" or "MAP". */
void labfmt(const char* ctype, const char* cax);
void labfmt_(const char* ctype, const char* cax, int len1, int len2);
/** 1-3: Puts the ticks "OUTS"ide, "INSI"de or "CENT"red on the axis line. */
void ticpos(const char* cpos, const char* cax);
void ticpos_(const char* cpos, const char* cax, int len1, int len2);
/** 1-3: Sets the lengths of the major and minor ticks in plot units. */
void ticlen(int nmaj, int nmin, const char* cax);
void ticlen_(const int* nmaj, const int* nmin, const char* cax, int len);
/** 1-3: Sets the distance between the ticks and the labels in plot units. */
void labdis(int ndis, const char* cax);
void labdis_(const int* ndis, const char* cax, int len);
/** 1-3: Sets the label orientation: "HORI", "VERT" (reading upwards) or "DOWN". */
void labori(const char* copt, const char* cax);
void labori_(const char* copt, const char* cax, int len1, int len2);
/** 1-3: Aligns horizontal Y labels "RIGH", "LEFT", at the "OUTS"ide or "INSI"de edge. */
void labjus(const char* copt, const char* cax);
void labjus_(const char* copt, const char* cax, int len1, int len2);
/** 1-3: Places labels at the "TICK"s, "CENT"red between them or at the ticks "INSI"de the axis. */
void labpos(const char* copt, const char* cax);
void labpos_(const char* copt, const char* cax, int len1, int len2);
/** 1-3: Leaves labels out: 0 none, 1 first, 2 last, 3 both ends, 4 all but the ends, 5 all but the first, 6 all but the last. */
void labomt(int nmode, const char* cax);
void labomt_(const int* nmode, const char* cax, int len);
/** 1-3: Sets the distance between the labels and the axis name in plot units. */
void namdis(int ndis, const char* cax);
void namdis_(const int* ndis, const char* cax, int len);
/** 1-3: Sets the character height of the axis names in plot units. */
void namhgt(int nhgt, const char* cax);
void namhgt_(const int* nhgt, const char* cax, int len);
/** 1-3: Puts the axis name in the "CENT"re, at the "STAR"t or at the "END" of the axis. */
void namjus(const char* copt, const char* cax);
void namjus_(const char* copt, const char* cax, int len1, int len2);
/** 1-3: Sets the colour (-1 current) of the axis "LINE", "TICK"s, "LABE"ls, "NAME" or "ALL". */
void axsclr(int nclr, const char* celem, const char* cax);
void axsclr_(const int* nclr, const char* celem, const char* cax, int len1, int len2);
/** 1-3: Sets the texts of "USER" labels, separated by "|" (up to 20 of 32 characters). */
void labtxt(const char* clist, const char* cax);
void labtxt_(const char* clist, const char* cax, int len1, int len2);
/** 1: Crosses the axes at the user origin: "OFF", "ON", or "CENT" moving the origin to the page centre. */
void axscrs(const char* copt);
void axscrs_(const char* copt, int len);
/** 1: Draws "ALL" four axes, "TWO" (lower X and left Y) or "NONE" (scaling only). */
void axsdrw(const char* copt);
void axsdrw_(const char* copt, int len);
/** 1: Sets the colour filling the axis rectangle (-1 none). */
void axsbgd(int nclr);
void axsbgd_(const int* nclr);
/** 1: Sets the thickness of the frame around the axis system (0 none). */
void axsfrm(int nthk);
void axsfrm_(const int* nthk);
/** 1: Sets what the lower, right, upper and left axes show: 0 nothing to 4 line, ticks, labels and name. */
void axslev(int nlow, int nright, int nup, int nleft);
void axslev_(const int* nlow, const int* nright, const int* nup, const int* nleft);
/** 1-3: Maps values <= 0 on log axes to the exponent xexp ("ON") or leaves them out ("OFF"). */
void logfbk(const char* copt, float xexp);
void logfbk_(const char* copt, const float* xexp, int len);
/** 1: Centres the next axis system with its labels and names on the page. */
void center(void);
void center_(void);
/** 1: Sets by how many plot units the clipping of curves exceeds the axis rectangle (-1 default). */
void axsclp(int nmrg);
void axsclp_(const int* nmrg);

/* ---- charts ----
 * Everyday plots in the current axis system: user coordinates throughout,
 * drawn inside the axis rectangle. Settings hold until korini resets them.
 * A named item (crvnam before curve, barplt, hstgrm or fillbt) is listed by
 * legend with the colour, line style, width, marker and fill it was drawn
 * in; graf starts a new list. */
/** 2-3: Draws a title centred above the axis system; "|" separates its lines. */
void title(const char* ctext);
void title_(const char* ctext, int len);
/** 1-3: Sets the title height in plot units (0: 1.2 times the label height). */
void tithgt(int nhchar);
void tithgt_(const int* nhchar);
/** 1-3: Names the next curve, bar set or band for the legend ("" names none). */
void crvnam(const char* cname);
void crvnam_(const char* cname, int len);
/** 2-3: Draws a framed legend of the named items at "UR", "UL", "LR", "LL" or "OUT". */
void legend(const char* cpos);
void legend_(const char* cpos, int len);
/** 2-3: Draws grid lines at every nx-th X and ny-th Y label (0: none). */
void grid(int nx, int ny);
void grid_(const int* nx, const int* ny);
/** 1-3: Sets the marker that curve draws at every point (-1: none). */
void crvsym(int nsym);
void crvsym_(const int* nsym);
/** 1-3: Switches the connecting line of curve "ON" or "OFF". */
void crvlin(const char* copt);
void crvlin_(const char* copt, int len);
/** 2-3: Draws vertical error bars from y - e1 to y + e2 at every point. */
void ebary(const float* xray, const float* yray, const float* e1ray, const float* e2ray, int n);
void ebary_(const float* xray, const float* yray, const float* e1ray, const float* e2ray,
            const int* n);
/** 2-3: Draws horizontal error bars from x - e1 to x + e2 at every point. */
void ebarx(const float* xray, const float* yray, const float* e1ray, const float* e2ray, int n);
void ebarx_(const float* xray, const float* yray, const float* e1ray, const float* e2ray,
            const int* n);
/** 1-3: Sets the width of the error bar caps in plot units (0: no caps). */
void ebrcap(int nwidth);
void ebrcap_(const int* nwidth);
/** 1: Defines an axis system with round ends and steps chosen from the data. */
void autgrf(const float* xray, const float* yray, int n);
void autgrf_(const float* xray, const float* yray, const int* n);
/** 2-3: Gives the ends, first label and step of the "X" or "Y" axis of the system. */
void getgrf(float* a, float* e, float* org, float* step, const char* cax);
void getgrf_(float* a, float* e, float* org, float* step, const char* cax, int len);
/** 2-3: Draws filled and outlined bars from y1 to y2 at every x. */
void barplt(const float* xray, const float* y1ray, const float* y2ray, int n);
void barplt_(const float* xray, const float* y1ray, const float* y2ray, const int* n);
/** 1-3: Sets the bar width in user units (0: 0.8 of the closest bar spacing). */
void barwid(float width);
void barwid_(const float* width);
/** 1-3: Sets the bar direction, "VERT" or "HORI". */
void bardir(const char* copt);
void bardir_(const char* copt, int len);
/** 2-3: Counts data into nbins equal bins from xa to xe and draws them as bars. */
void hstgrm(const float* xray, int n, int nbins, float xa, float xe, int* iray);
void hstgrm_(const float* xray, const int* n, const int* nbins, const float* xa, const float* xe,
             int* iray);
/** 2-3: Fills the band between two curves over the same x values. */
void fillbt(const float* xray, const float* y1ray, const float* y2ray, int n);
void fillbt_(const float* xray, const float* y1ray, const float* y2ray, const int* n);
/** 2-3: Draws a text with its upper-left corner at a point in user coordinates. */
void usrmsg(const char* ctext, float x, float y);
void usrmsg_(const char* ctext, const float* x, const float* y, int len);
/** 2-3: Draws a symbol centred at a point in user coordinates. */
void usrsym(int nsym, float x, float y);
void usrsym_(const int* nsym, const float* x, const float* y);
/** 2-3: Draws a line between two points in user coordinates. */
void usrlin(float x1, float y1, float x2, float y2);
void usrlin_(const float* x1, const float* y1, const float* x2, const float* y2);
/** 2-3: Converts a point in user coordinates to plot units. */
void usrpos(float x, float y, int* nx, int* ny);
void usrpos_(const float* x, const float* y, int* nx, int* ny);
/** 2-3: Converts a point in plot units to user coordinates. */
void posusr(int nx, int ny, float* x, float* y);
void posusr_(const int* nx, const int* ny, float* x, float* y);
/** 1: Places the next axis system in panel i (row by row) of an nrow x ncol grid. */
void panel(int nrow, int ncol, int i);
void panel_(const int* nrow, const int* ncol, const int* i);

/* ---- calendar ----
 * Day numbers count from the base date set with basdat; without one
 * incdat and trfdat report the missing base date and give 0. nwkday gives
 * the weekday, 1 Monday .. 7 Sunday, or 0 for an impossible date. */
/** 0-3: Returns the day number of a date, counted from the base date. */
int incdat(int iday, int imonth, int iyear);
int incdat_(const int* iday, const int* imonth, const int* iyear);
/** 0-3: Gives the date of a day number, counted from the base date. */
void trfdat(int ndays, int* iday, int* imonth, int* iyear);
void trfdat_(const int* ndays, int* iday, int* imonth, int* iyear);
/** 0-3: Returns the weekday of a date, 1 Monday to 7 Sunday, or 0. */
int nwkday(int iday, int imonth, int iyear);
int nwkday_(const int* iday, const int* imonth, const int* iyear);
/** 0-3: Sets the base date from which day numbers count. */
void basdat(int iday, int imonth, int iyear);
void basdat_(const int* iday, const int* imonth, const int* iyear);
/** 1-3: Sets the day, month and year forms of date labels: "NONE", "NUMB", "LEAD", "LONG", "SHOR". */
void datfmt(const char* cday, const char* cmonth, const char* cyear);
void datfmt_(const char* cday, const char* cmonth, const char* cyear, int len1, int len2,
             int len3);
/** 1-3: Sets the order of the date parts: "DMY", "MDY", "YMD", "YDM", "DYM" or "MYD". */
void datord(const char* cord);
void datord_(const char* cord, int len);
/** 1-3: Sets the character between the date parts, or "NONE". */
void datsep(const char* csep);
void datsep_(const char* csep, int len);
/** 1-3: Sets the language of month and day names: "ENGL" or "GERM". */
void datlan(const char* clang);
void datlan_(const char* clang, int len);
/** 1-3: Writes date labels in "NORM"al or "UPPE"r case. */
void datcas(const char* ccase);
void datcas_(const char* ccase, int len);

/* ---- fields ----
 * Matrices are column-major: z[i + j*nx] is the value at (x[i], y[j]). The
 * grid routines draw inside the current axis system (user coordinates); a
 * NaN in z leaves a hole. */
/** 2-3: Draws the contour lines of one level of a grid. */
void isolin(const float* xray, int nx, const float* yray, int ny, const float* zmat, float zlev);
void isolin_(const float* xray, const int* nx, const float* yray, const int* ny,
             const float* zmat, const float* zlev);
/** 1-3: Labels every mode-th contour line with its value in a gap of the line (0 none). */
void isolab(int mode);
void isolab_(const int* mode);
/** 1-3: Sets the line type (0-7), width and colour (0-255) of one level's contour lines; -1 keeps the current one. */
void isoset(float zlev, int ntyp, int nwid, int nclr);
void isoset_(const float* zlev, const int* ntyp, const int* nwid, const int* nclr);
/** 1-3: Sets the line type (0-7) of contour levels below zero without a style of their own; -1 none. */
void isoneg(int ntyp);
void isoneg_(const int* ntyp);
/** 2-3: Fills the bands between ascending levels with colours spread over the colour table. */
void isobnd(const float* xray, int nx, const float* yray, int ny, const float* zmat,
            const float* zlevs, int nlev);
void isobnd_(const float* xray, const int* nx, const float* yray, const int* ny,
             const float* zmat, const float* zlevs, const int* nlev);
/* Triangles of scattered points: vertex numbers from 1, counterclockwise. */
/** 0-3: Returns the Delaunay triangulation of scattered points (at most nmax triangles). */
int delaun(const float* xray, const float* yray, int n, int* i1ray, int* i2ray, int* i3ray,
           int nmax);
int delaun_(const float* xray, const float* yray, const int* n, int* i1ray, int* i2ray,
            int* i3ray, const int* nmax);
/** 2-3: Draws the contour lines of one level on a triangulation. */
void isotin(const float* xray, const float* yray, const float* zray, int n, const int* i1ray,
            const int* i2ray, const int* i3ray, int ntri, float zlev);
void isotin_(const float* xray, const float* yray, const float* zray, const int* n,
             const int* i1ray, const int* i2ray, const int* i3ray, const int* ntri,
             const float* zlev);
/** 2-3: Draws a matrix as cells coloured by value over the whole axis system. */
void heatmp(const float* zmat, int nx, int ny, float zmin, float zmax);
void heatmp_(const float* zmat, const int* nx, const int* ny, const float* zmin, const float* zmax);
/** 2-3: Draws the colour bar of the last colour map, "RIGHT" of or "BOTTOM" below the axes. */
void colkey(const char* cpos);
void colkey_(const char* cpos, int len);
/* 3-D: camera sets the view (degrees; elevation -90..90), axes3d the box at
 * level 1 in the axis rectangle (level 2 after it), then the surfaces. The
 * box's x and y axes lie on its lower edges as seen, z on an upright edge at
 * one side; they are labelled as graf labels its axes (from xor in steps of
 * xstep, with labdig, height and the names of name(..., "X"|"Y"|"Z")), all
 * outside the box. */
/** 1-3: Sets the view of the 3-D box by azimuth and elevation in degrees. */
void camera(float azim, float elev);
void camera_(const float* azim, const float* elev);
/** 1: Defines a 3-D axis box and draws its back edges, ticks, labels and names. */
void axes3d(float xa, float xe, float xor_, float xstep, float ya, float ye, float yor,
            float ystep, float za, float ze, float zor, float zstep);
void axes3d_(const float* xa, const float* xe, const float* xor_, const float* xstep,
             const float* ya, const float* ye, const float* yor, const float* ystep,
             const float* za, const float* ze, const float* zor, const float* zstep);
/** 2-3: Draws a surface over a grid as a mesh with hidden lines removed. */
void mesh3d(const float* xray, int nx, const float* yray, int ny, const float* zmat);
void mesh3d_(const float* xray, const int* nx, const float* yray, const int* ny,
             const float* zmat);
/** 2-3: Draws a surface over a grid coloured by height, near cells over far ones. */
void surf3d(const float* xray, int nx, const float* yray, int ny, const float* zmat);
void surf3d_(const float* xray, const int* nx, const float* yray, const int* ny,
             const float* zmat);
/* mshclr: -1 (the default) draws the mesh in the current colour. light "ON"
 * shades surf3d's cells by their slope to the light, which comes from
 * litdir's azimuth and elevation in the box's frame like camera (default 0
 * and 45: from the x side, half way up); "OFF" is the default. */
/** 1-3: Sets the colour of mesh3d's lines (-1 the current colour). */
void mshclr(int nclr);
void mshclr_(const int* nclr);
/** 1-3: Switches the shading of surf3d's cells by a light "ON" or "OFF". */
void light(const char* cmode);
void light_(const char* cmode, int len);
/** 1-3: Sets the direction the light comes from by azimuth and elevation in degrees. */
void litdir(float azim, float elev);
void litdir_(const float* azim, const float* elev);

#ifdef __cplusplus
}
#endif
#if defined(__GNUC__) && !defined(_WIN32)
#pragma GCC visibility pop
#endif

#endif /* KORVAN_H */
