#include "languages/shipped/shipped_languages.h"

namespace tarnwick {

namespace {

// Colours as the scheme files store them (0x00BBGGRR).
constexpr TColorValue kNavy = 0x800000;
constexpr TColorValue kTeal = 0x808000;
constexpr TColorValue kMaroon = 0x000080;
constexpr TColorValue kBlue = 0xFF0000;
constexpr TColorValue kGray = 0x808080;
constexpr TColorValue kGreen = 0x008000;
constexpr TColorValue kPurple = 0x800080;

// Every style takes its font name, size and background from the editor's font, so a language
// follows the user's preferences and only its colours and emphasis are its own.
void AddStyle(TSyntaxScheme& scheme, int fontID, int blockID, TColorValue color, std::uint8_t style = 0) {
    TAttrItem& attr = scheme.FontTable.Add();
    attr.FontID = fontID;
    attr.BlockID = blockID;
    attr.Font.Color = color;
    attr.Font.Style = style;
}

TBlockToken Pair(int fontID, std::string left, std::string right) {
    TBlockToken token;
    token.FontID = fontID;
    token.LeftDelimiter = std::move(left);
    token.RightDelimiter = std::move(right);
    return token;
}

TLineToken Single(int fontID, std::string left) {
    TLineToken token;
    token.FontID = fontID;
    token.LeftDelimiter = std::move(left);
    return token;
}

TKeywordSet Keywords(int fontID, std::string name, std::string words) {
    TKeywordSet set;
    set.FontID = fontID;
    set.Name = std::move(name);
    set.Keywords = std::move(words);
    return set;
}

TSyntaxBlock& Root(TSyntaxScheme& scheme, const char* name) {
    TSyntaxBlock& root = scheme.SyntaxBlocks.at(0);
    root.Name = name;
    root.ID = 0;
    root.ParentID = -1;
    return root;
}

// ---- EDIF 2 0 0 -------------------------------------------------------------------------

enum EdifStyle { edText, edKeyword, edValue, edString, edNumber, edParenthesis, edComment };

const char* const kEdifKeywords =
    "acLoad,after,annotate,apply,arc,array,arrayMacro,arrayRelatedInfo,arraySite,atLeast,atMost,"
    "author,baseArray,becomes,between,boolean,booleanDisplay,booleanMap,borderPattern,borderWidth,"
    "boundingBox,cell,cellRef,cellType,change,circle,color,comment,commentGraphics,compound,"
    "connectLocation,contents,cornerType,criticality,currentMap,curve,cycle,dataOrigin,"
    "dcFaninLoad,dcFanoutLoad,dcMaxFanin,dcMaxFanout,delay,delta,derivation,design,designator,"
    "difference,direction,display,dominates,dot,duration,e,edif,edifLevel,edifVersion,"
    "enclosureDistance,endType,entry,event,exactly,external,fabricate,false,figure,figureArea,"
    "figureGroup,figureGroupObject,figureGroupOverride,figureGroupRef,figurePerimeter,figureWidth,"
    "fillPattern,follow,forbiddenEvent,globalPortRef,greaterThan,gridMap,ignore,"
    "includeFigureGroup,initial,instance,instanceBackAnnotate,instanceGroup,instanceMap,"
    "instanceRef,integer,integerDisplay,interface,interFigureGroupSpacing,intersection,"
    "intraFigureGroupSpacing,inverse,isolated,joined,justify,keywordDisplay,keywordLevel,"
    "keywordMap,lessThan,library,libraryRef,listOfNets,listOfPorts,loadDelay,logicAssign,"
    "logicInput,logicList,logicMapInput,logicMapOutput,logicOneOf,logicOutput,logicPort,logicRef,"
    "logicValue,logicWaveform,maintain,match,member,minomax,minomaxDisplay,mnm,multipleValueSet,"
    "mustJoin,name,net,netBackAnnotate,netBundle,netDelay,netGroup,netMap,netRef,noChange,"
    "nonPermutable,notAllowed,notchSpacing,number,numberDefinition,numberDisplay,"
    "offPageConnector,offsetEvent,openShape,orientation,origin,overhangDistance,overlapDistance,"
    "oversize,owner,page,pageSize,parameter,parameterAssign,parameterDisplay,path,pathDelay,"
    "pathWidth,permutable,physicalDesignRule,plug,point,pointDisplay,pointList,polygon,port,"
    "portBackAnnotate,portBundle,portDelay,portGroup,portImplementation,portInstance,portList,"
    "portListAlias,portMap,portRef,program,property,propertyDisplay,protectionFrame,pt,"
    "rangeVector,rectangle,rectangleSize,rename,resolves,scale,scaleX,scaleY,section,shape,"
    "simulate,simulationInfo,singleValueSet,site,socket,socketSet,status,steady,string,"
    "stringDisplay,strong,symbol,symmetry,table,tableDefault,technology,textHeight,timeInterval,"
    "timeStamp,timing,transform,transition,trigger,true,unconstrained,undefined,union,unit,unused,"
    "userData,version,view,viewGroup,viewList,viewMap,viewRef,viewType,visible,voltageMap,wave,"
    "waveValue,weak,weakJoined,when,written";

// The fixed values some forms take: directions, view and cell types, units, orientations,
// justifications, corner and end types.
const char* const kEdifValues =
    "INPUT,OUTPUT,INOUT,GENERIC,TIE,RIPPER,NETLIST,SCHEMATIC,SYMBOLIC,BEHAVIOR,DOCUMENT,GRAPHIC,"
    "LOGICMODEL,MASKLAYOUT,PCBLAYOUT,STRANGER,DISTANCE,CAPACITANCE,CURRENT,RESISTANCE,"
    "TEMPERATURE,TIME,VOLTAGE,MASS,FREQUENCY,INDUCTANCE,ENERGY,POWER,CHARGE,CONDUCTANCE,FLUX,"
    "ANGLE,R0,R90,R180,R270,MX,MY,MXR90,MYR90,UPPERLEFT,UPPERCENTER,UPPERRIGHT,CENTERLEFT,"
    "CENTERCENTER,CENTERRIGHT,LOWERLEFT,LOWERCENTER,LOWERRIGHT,EXTEND,ROUND,TRUNCATE,"
    "CALCULATED,MEASURED,REQUIRED";

}  // namespace

void MakeEdifScheme(TSyntaxScheme& scheme) {
    scheme.Clear();
    scheme.SyntaxBlocks.resize(1);
    scheme.Name = "EDIF";
    scheme.SyntaxVersion = 3;
    TSyntaxBlock& root = Root(scheme, "EDIF");
    root.FIText = edText;
    root.FIIntNum = root.FIFloatNum = root.FIHexNum = edNumber;
    root.FISymbol = edParenthesis;
    root.UseSymbols = true;
    root.UseStrings = root.UseSingleLineStrings = true;
    // Strings hold no escape character: a quote inside one is written %34%, so the next quote
    // always ends it.
    root.SingleLineStringDelimiters.push_back(Pair(edString, "\"", "\""));
    root.UseNumbers = true;
    root.UseKeywords = true;
    root.KeywordSets.push_back(Keywords(edKeyword, "EDIF 2 0 0 keywords", kEdifKeywords));
    root.KeywordSets.push_back(Keywords(edValue, "Values", kEdifValues));
    // Names may start with "&" (as in &1 for a name that starts with a digit).
    root.FirstIdentChars.Add('&');

    // (comment "...") forms. The block opens once the form's keyword is behind the cursor with
    // its parenthesis just before it, in any letter case (the root block ignores case): so a
    // name that happens to read COMMENT, as in (figureGroup COMMENT ...), or a longer keyword
    // such as commentGraphics, opens nothing. The form's own parenthesis and keyword keep their
    // styles; the block closes at the parenthesis that ends the form, and a parenthesis inside
    // one of its strings is part of the string. An opener is a fixed string, so one blank
    // between the parenthesis and the keyword is all the forms written apart can have.
    TSyntaxBlock comment;
    comment.Name = "Comment";
    comment.ID = 1;
    comment.ParentID = 0;
    comment.FIText = edComment;
    for (const char* opener : {"(comment", "( comment"})
        comment.BlockDelimiters.push_back({opener, ")", false, true});
    comment.UseStrings = comment.UseSingleLineStrings = true;
    comment.SingleLineStringDelimiters.push_back(Pair(edComment, "\"", "\""));
    scheme.SyntaxBlocks.push_back(comment);

    AddStyle(scheme, edText, 0, clWindowText);
    AddStyle(scheme, edKeyword, 0, kNavy, fsBold);
    AddStyle(scheme, edValue, 0, kTeal);
    AddStyle(scheme, edString, 0, kMaroon);
    AddStyle(scheme, edNumber, 0, kBlue);
    AddStyle(scheme, edParenthesis, 0, kGray);
    AddStyle(scheme, edComment, 1, kGreen, fsItalic);
}

// ---- Verilog ----------------------------------------------------------------------------

namespace {

enum VerilogStyle { vlText, vlKeyword, vlSystemTask, vlComment, vlString, vlNumber, vlDirective, vlSymbol };

const char* const kVerilogKeywords =
    "always,and,assign,automatic,begin,buf,bufif0,bufif1,case,casex,casez,cell,cmos,config,"
    "deassign,default,defparam,design,disable,edge,else,end,endcase,endconfig,endfunction,"
    "endgenerate,endmodule,endprimitive,endspecify,endtable,endtask,event,for,force,forever,fork,"
    "function,generate,genvar,highz0,highz1,if,ifnone,incdir,include,initial,inout,input,"
    "instance,integer,join,large,liblist,library,localparam,macromodule,medium,module,nand,"
    "negedge,nmos,nor,noshowcancelled,not,notif0,notif1,or,output,parameter,pmos,posedge,"
    "primitive,pull0,pull1,pulldown,pullup,pulsestyle_onevent,pulsestyle_ondetect,rcmos,real,"
    "realtime,reg,release,repeat,rnmos,rpmos,rtran,rtranif0,rtranif1,scalared,showcancelled,"
    "signed,small,specify,specparam,strong0,strong1,supply0,supply1,table,task,time,tran,"
    "tranif0,tranif1,tri,tri0,tri1,triand,trior,trireg,unsigned,use,uwire,vectored,wait,wand,"
    "weak0,weak1,while,wire,wor,xnor,xor";

const char* const kVerilogSystemTasks =
    "$display,$write,$strobe,$monitor,$monitoron,$monitoroff,$finish,$stop,$time,$stime,"
    "$realtime,$random,$readmemb,$readmemh,$fopen,$fclose,$fdisplay,$fwrite,$fstrobe,$fmonitor,"
    "$signed,$unsigned,$dumpfile,$dumpvars,$dumpon,$dumpoff,$timeformat,$printtimescale";

}  // namespace

void MakeVerilogScheme(TSyntaxScheme& scheme) {
    scheme.Clear();
    scheme.SyntaxBlocks.resize(1);
    scheme.Name = "Verilog";
    scheme.SyntaxVersion = 3;
    TSyntaxBlock& root = Root(scheme, "Verilog");
    root.CaseSensitive = true;
    root.UseMetaSymbol = true;
    root.UseMetaToWrapLines = true;
    root.MetaSymbol = '\\';
    root.FIText = vlText;
    root.FIIntNum = root.FIFloatNum = root.FIHexNum = vlNumber;
    root.FIDirective = vlDirective;
    root.FISymbol = vlSymbol;
    root.UseSymbols = true;
    root.UseLineDirectives = true;
    root.LineDirectivePrefix = "`";
    root.UseComments = root.UseSingleLineComments = root.UseMultiLineComments = true;
    root.SingleLineCommentDelimiters.push_back(Single(vlComment, "//"));
    root.MultiLineCommentDelimiters.push_back(Pair(vlComment, "/*", "*/"));
    root.UseStrings = root.UseSingleLineStrings = true;
    root.SingleLineStringDelimiters.push_back(Pair(vlString, "\"", "\""));
    root.UseNumbers = root.UsePrefixedNumbers = true;
    // Based numbers: 8'hFF, 4'b1010, 'd12; the size before the quote is a number of its own.
    for (const char* base : {"'h", "'H", "'b", "'B", "'o", "'O", "'d", "'D", "'sh", "'sb", "'so", "'sd"})
        root.NumPrefixes.push_back(Single(-1, base));
    root.UseKeywords = true;
    root.KeywordSets.push_back(Keywords(vlKeyword, "Verilog keywords", kVerilogKeywords));
    root.KeywordSets.push_back(Keywords(vlSystemTask, "System tasks", kVerilogSystemTasks));
    root.FirstIdentChars.Add('$');
    root.OtherIdentChars.Add('$');

    AddStyle(scheme, vlText, 0, clWindowText);
    AddStyle(scheme, vlKeyword, 0, kNavy, fsBold);
    AddStyle(scheme, vlSystemTask, 0, kTeal);
    AddStyle(scheme, vlComment, 0, kGreen, fsItalic);
    AddStyle(scheme, vlString, 0, kMaroon);
    AddStyle(scheme, vlNumber, 0, kBlue);
    AddStyle(scheme, vlDirective, 0, kPurple);
    AddStyle(scheme, vlSymbol, 0, kGray);
}

// ---- VHDL -------------------------------------------------------------------------------

namespace {

enum VhdlStyle { vhText, vhKeyword, vhType, vhComment, vhString, vhNumber, vhSymbol };

const char* const kVhdlKeywords =
    "abs,access,after,alias,all,and,architecture,array,assert,attribute,begin,block,body,buffer,"
    "bus,case,component,configuration,constant,disconnect,downto,else,elsif,end,entity,exit,file,"
    "for,function,generate,generic,group,guarded,if,impure,in,inertial,inout,is,label,library,"
    "linkage,literal,loop,map,mod,nand,new,next,nor,not,null,of,on,open,or,others,out,package,"
    "port,postponed,procedure,process,pure,range,record,register,reject,rem,report,return,rol,"
    "ror,select,severity,signal,shared,sla,sll,sra,srl,subtype,then,to,transport,type,"
    "unaffected,units,until,use,variable,wait,when,while,with,xnor,xor";

const char* const kVhdlTypes =
    "bit,bit_vector,boolean,character,integer,natural,positive,real,string,time,severity_level,"
    "std_logic,std_logic_vector,std_ulogic,std_ulogic_vector,signed,unsigned,line,text,true,"
    "false,ieee,std,work,std_logic_1164,numeric_std,textio,rising_edge,falling_edge,to_integer,"
    "to_unsigned,to_signed,resize";

}  // namespace

void MakeVhdlScheme(TSyntaxScheme& scheme) {
    scheme.Clear();
    scheme.SyntaxBlocks.resize(1);
    scheme.Name = "VHDL";
    scheme.SyntaxVersion = 3;
    TSyntaxBlock& root = Root(scheme, "VHDL");
    root.FIText = vhText;
    root.FIIntNum = root.FIFloatNum = root.FIHexNum = vhNumber;
    root.FISymbol = vhSymbol;
    root.UseSymbols = true;
    root.UseComments = root.UseSingleLineComments = root.UseMultiLineComments = true;
    root.SingleLineCommentDelimiters.push_back(Single(vhComment, "--"));
    root.MultiLineCommentDelimiters.push_back(Pair(vhComment, "/*", "*/"));
    root.UseStrings = root.UseSingleLineStrings = true;
    root.SingleLineStringDelimiters.push_back(Pair(vhString, "\"", "\""));
    root.UseNumbers = root.UsePrefixedSuffixedNumbers = true;
    root.UsePSNumComposition = false;
    // Based literals such as 16#FF#.
    for (const char* base : {"2#", "8#", "16#"})
        root.NumPrefixesSuffixes.push_back(Pair(-1, base, "#"));
    root.UseKeywords = true;
    root.KeywordSets.push_back(Keywords(vhKeyword, "VHDL reserved words", kVhdlKeywords));
    root.KeywordSets.push_back(Keywords(vhType, "Standard types and functions", kVhdlTypes));

    AddStyle(scheme, vhText, 0, clWindowText);
    AddStyle(scheme, vhKeyword, 0, kNavy, fsBold);
    AddStyle(scheme, vhType, 0, kTeal);
    AddStyle(scheme, vhComment, 0, kGreen, fsItalic);
    AddStyle(scheme, vhString, 0, kMaroon);
    AddStyle(scheme, vhNumber, 0, kBlue);
    AddStyle(scheme, vhSymbol, 0, kGray);
}

// ---- Templates and associations ---------------------------------------------------------

TMemoCodeTemplates MakeEdifTemplates() {
    TMemoCodeTemplates templates;
    const auto add = [&](std::string name, std::string description, std::vector<std::string> code) {
        templates.Add() = TMemoCodeTemplate{std::move(name), std::move(description), std::move(code)};
    };
    add("library", "library with its technology",
        {"(library |", "  (edifLevel 0)", "  (technology (numberDefinition))", ")"});
    add("cell", "cell with a netlist view",
        {"(cell |", "  (cellType GENERIC)", "  (view netlist", "    (viewType NETLIST)", "    (interface",
         "    )", "    (contents", "    )", "  )", ")"});
    add("view", "netlist view",
        {"(view |", "  (viewType NETLIST)", "  (interface", "  )", "  (contents", "  )", ")"});
    add("port", "port with its direction", {"(port | (direction INPUT))"});
    add("net", "net joining port references", {"(net |", "  (joined", "    (portRef )", "  )", ")"});
    add("portRef", "reference to a port of an instance", {"(portRef | (instanceRef ))"});
    add("instance", "instance of a cell's view",
        {"(instance |", "  (viewRef netlist (cellRef  (libraryRef )))", ")"});
    add("property", "property with a string value", {"(property | (string \"\"))"});
    return templates;
}

std::string MakeLanguagesIni() {
    return "[SyntaxSchemes]\r\n"
           "EDIF=System/Languages/EDIF.syn\r\n"
           "Verilog=System/Languages/Verilog.syn\r\n"
           "VHDL=System/Languages/VHDL.syn\r\n"
           "\r\n"
           "[CodeTemplates]\r\n"
           "EDIF=System/Languages/EDIF.tpl\r\n"
           "Verilog=\r\n"
           "VHDL=\r\n"
           "\r\n"
           "[FileAssociations]\r\n"
           "edf=EDIF\r\n"
           "edn=EDIF\r\n"
           "edif=EDIF\r\n"
           "edo=EDIF\r\n"
           "v=Verilog\r\n"
           "vh=Verilog\r\n"
           "vhd=VHDL\r\n"
           "vhdl=VHDL\r\n";
}

}  // namespace tarnwick
