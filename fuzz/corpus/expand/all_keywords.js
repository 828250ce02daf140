var speed = ®Speed,INTVALUE¯;
var colour = "#®Colour,hvalue¯"; // ®Colour,RH¯ ®Colour,R¯
var hello = "®Greeting,TEXTVALUE¯";
var list = [®Items,LISTENTRY¯];
var n = ®Items,LISTNOOFENTRIES¯, f = "®Items,FIRSTENTRY¯", e = "®Items,LE1¯®Items,DB0¯®Items,DC2¯";
var mode = "®Mode,TEXTVALUE¯";
var font = "®Font,FONTNAME¯ ®Font,FONTSIZE¯ ®Font,FONTHSIZE¯ ®Font,FONTBOLD¯ ®Font,FONTITALICINT¯";
var file = "®File,FULLFILENAME¯", pic = "®Pic,IMAGENAMEONLY¯ ®Pic,IMAGEWIDTH¯";
var pos = [®Pos,INTVALUE1¯, ®Pos,INTVALUE2¯];
var menu = [
®Menu,MENUDATA¯];
var top = ®Menu,TOPLEVELENTRIES¯;
var id1 = "®Var,MAIN¯", id2 = "®Var,main¯", id3 = "®Var,OTHER¯";
var seq = [®App,INTSEQUENCE¯, ®App,INTSEQUENCE¯, ®App,SCRIPTREPEAT¯, "®App,IMAGESNAME¯"];
var none = "®Nobody,INTVALUE¯ ®Info,X¯ ®Tips,Y¯ ®no comma¯ ¯ before ®";
