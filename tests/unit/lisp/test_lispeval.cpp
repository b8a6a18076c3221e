// Evaluation: the command-line echo, arithmetic, variables and functions, control forms,
// strings, errors and the built-in table.
#include "lisptest.h"

using namespace khost;

using LispEval = LispTest;

TEST_F(LispEval, CommandLineEchoesTheLastValue) {
    EXPECT_EQ(runLisp(L"(+ 1 2)").out, L"3");
    EXPECT_EQ(runLisp(L"(setq a 1) (setq b \"x\\ny\")").out, L"\"x\\ny\"");
    EXPECT_EQ(runLisp(L"(list 1 2.0 \"s\" 'sym nil t (cons 1 2))").out,
              L"(1 2.0 \"s\" SYM nil T (1 . 2))");
    EXPECT_EQ(runLisp(L"(princ \"abc\")").out, L"abc\"abc\"");
    EXPECT_EQ(runLisp(L"(prin1 \"a\\\"b\")").out, L"\"a\\\"b\"\"a\\\"b\"");
    EXPECT_EQ(runLisp(L"(print 5)").out, L"\n5 5");
    // (princ) prints nothing and its value is not echoed.
    LispRun quiet = runLisp(L"(princ \"\\nHello\") (princ)");
    EXPECT_TRUE(quiet.ok);
    EXPECT_EQ(quiet.out, L"\nHello");
    EXPECT_EQ(runLisp(L"(terpri)").out, L"\nnil");
    EXPECT_EQ(runLisp(L"; only a comment").out, L"");
    EXPECT_EQ(runLisp(L"(vl-princ-to-string '(\"a\" 1.0))").out, L"\"(a 1.0)\"");
}

TEST_F(LispEval, ArithmeticKeepsIntegersAndPromotesToReals) {
    EXPECT_EQ(evalPrinted(L"(+ 1 2 3)"), L"6");
    EXPECT_EQ(evalPrinted(L"(+ 1 2.0)"), L"3.0");
    EXPECT_EQ(evalPrinted(L"(/ 7 2)"), L"3");
    EXPECT_EQ(evalPrinted(L"(/ 7 2.0)"), L"3.5");
    EXPECT_EQ(evalPrinted(L"(/ -7 2)"), L"-3");
    EXPECT_EQ(evalPrinted(L"(- 5)"), L"-5");
    EXPECT_EQ(evalPrinted(L"(- 10 1 2.5)"), L"6.5");
    EXPECT_EQ(evalPrinted(L"(* 2 3 4)"), L"24");
    EXPECT_EQ(evalPrinted(L"(+)"), L"0");
    EXPECT_EQ(evalPrinted(L"(* 65536 65536)"), L"0"); // 32-bit wrap-around
    EXPECT_EQ(evalPrinted(L"(+ 2147483647 1)"), L"-2147483648");
    EXPECT_EQ(evalPrinted(L"(rem 7 3)"), L"1");
    EXPECT_EQ(evalPrinted(L"(rem 7.5 2)"), L"1.5");
    EXPECT_EQ(evalPrinted(L"(list (1+ 1) (1- 1.5) (abs -3) (abs -2.5))"), L"(2 0.5 3 2.5)");
    EXPECT_EQ(evalPrinted(L"(list (min 3 1 2) (max 3 1 2) (max 1 2.0))"), L"(1 3 2.0)");
    EXPECT_EQ(evalPrinted(L"(list (fix 3.7) (fix -3.7) (float 2))"), L"(3 -3 2.0)");
    EXPECT_EQ(evalPrinted(L"(list (= 1 1.0) (= 1 2) (/= 1 2) (< 1 2 3) (< 1 3 2) (>= 3 3 1))"),
              L"(T nil T T nil T)");
    EXPECT_EQ(evalPrinted(L"(list (= \"a\" \"a\") (< \"a\" \"b\") (> \"a\" \"b\"))"), L"(T T nil)");
    EXPECT_EQ(errorOf(L"(/ 1 0)"), L"divide by zero");
    EXPECT_EQ(errorOf(L"(/ 1.0 0)"), L"divide by zero");
    EXPECT_EQ(errorOf(L"(rem 1 0)"), L"divide by zero");
    EXPECT_EQ(errorOf(L"(+ 1 \"a\")"), L"bad argument type: numberp: \"a\"");
    EXPECT_EQ(errorOf(L"(< 1 \"a\")"), L"bad argument type: numberp: \"a\"");
}

TEST_F(LispEval, SetqDefunAndLocalVariables) {
    EXPECT_EQ(evalPrinted(L"(setq a 1 b (+ a 1))"), L"2");
    EXPECT_EQ(evalPrinted(L"(list a b)"), L"(1 2)");
    EXPECT_EQ(evalPrinted(L"(defun sq (x) (* x x))"), L"SQ");
    EXPECT_EQ(evalPrinted(L"(sq 7)"), L"49");
    // Arguments and locals are bound during the call and restored afterwards.
    evalPrinted(L"(setq x 100 tmp \"outer\")");
    EXPECT_EQ(evalPrinted(L"(defun f (x / tmp) (setq tmp (* x 2)) (setq glob tmp) (list x tmp))"),
              L"F");
    EXPECT_EQ(evalPrinted(L"(f 3)"), L"(3 6)");
    EXPECT_EQ(evalPrinted(L"(list x tmp glob)"), L"(100 \"outer\" 6)");
    // Locals start as nil and variables are seen by the functions called (dynamic scope).
    evalPrinted(L"(defun g (/ v) (h)) (defun h () v)");
    evalPrinted(L"(setq v 5)");
    EXPECT_EQ(evalPrinted(L"(g)"), L"nil");
    EXPECT_EQ(evalPrinted(L"v"), L"5");
    // Recursion, and the bindings survive an error inside the function.
    EXPECT_EQ(evalPrinted(L"(defun fact (n) (if (< n 2) 1 (* n (fact (1- n))))) (fact 10)"),
              L"3628800");
    EXPECT_EQ(errorOf(L"(defun bad (x / tmp) (setq tmp 1) (car x)) (bad 5)"),
              L"bad argument type: consp 5");
    EXPECT_EQ(evalPrinted(L"(list x tmp)"), L"(100 \"outer\")");
    EXPECT_EQ(errorOf(L"(sq)"), L"too few arguments");
    EXPECT_EQ(errorOf(L"(sq 1 2)"), L"too many arguments");
    EXPECT_EQ(errorOf(L"(setq a)"), L"too few arguments");
    EXPECT_EQ(errorOf(L"(setq 1 2)"), L"bad argument type: symbolp 1");
    EXPECT_EQ(evalPrinted(L"(type sq)"), L"USUBR");
    EXPECT_EQ(evalPrinted(L"(list (boundp 'a) (boundp 'nothing-here))"), L"(T nil)");
}

TEST_F(LispEval, LambdaMapcarApplyAndControlForms) {
    EXPECT_EQ(evalPrinted(L"(mapcar '1+ '(1 2 3))"), L"(2 3 4)");
    EXPECT_EQ(evalPrinted(L"(mapcar '(lambda (x y) (+ x y)) '(1 2 3) '(10 20))"), L"(11 22)");
    EXPECT_EQ(evalPrinted(L"(mapcar (function (lambda (s) (strcase s))) '(\"a\" \"b\"))"),
              L"(\"A\" \"B\")");
    EXPECT_EQ(evalPrinted(L"((lambda (a b) (- a b)) 5 3)"), L"2");
    EXPECT_EQ(evalPrinted(L"(apply '+ '(1 2 3))"), L"6");
    EXPECT_EQ(evalPrinted(L"(apply 'max (list 4 9 2))"), L"9");
    EXPECT_EQ(evalPrinted(L"(cond ((= 1 2) 'a) ((= 1 1) 'b 'c) (t 'd))"), L"C");
    EXPECT_EQ(evalPrinted(L"(cond ((member 2 '(1 2 3))))"), L"(2 3)");
    EXPECT_EQ(evalPrinted(L"(cond (nil 1))"), L"nil");
    EXPECT_EQ(evalPrinted(L"(setq i 0 s 0) (while (< i 5) (setq i (1+ i) s (+ s i)))"), L"15");
    EXPECT_EQ(evalPrinted(L"(setq n 0) (repeat 4 (setq n (+ n 2)))"), L"8");
    EXPECT_EQ(evalPrinted(L"(setq e 'outer acc nil) (foreach e '(1 2 3) (setq acc (cons e acc)))"),
              L"(3 2 1)");
    EXPECT_EQ(evalPrinted(L"e"), L"OUTER");
    EXPECT_EQ(evalPrinted(L"(list (and 1 2) (and 1 nil) (or nil 2) (or nil nil) (and) (or))"),
              L"(T nil T nil T nil)");
    EXPECT_EQ(evalPrinted(L"(if nil 1)"), L"nil");
    EXPECT_EQ(evalPrinted(L"(if 0 'yes 'no)"), L"YES");
    EXPECT_EQ(evalPrinted(L"(progn 1 2 3)"), L"3");
    EXPECT_EQ(errorOf(L"(repeat 1.5 1)"), L"bad argument type: fixnump: 1.5");
    EXPECT_EQ(errorOf(L"(if)"), L"too few arguments");
}

TEST_F(LispEval, ListFunctions) {
    EXPECT_EQ(evalPrinted(L"(setq l '(1 (2 3) \"x\" (k . v)))"), L"(1 (2 3) \"x\" (K . V))");
    EXPECT_EQ(evalPrinted(L"(list (car l) (cadr l) (caddr l) (cddr l) (cdr (last l)))"),
              L"(1 (2 3) \"x\" (\"x\" (K . V)) V)");
    EXPECT_EQ(evalPrinted(L"(list (car nil) (cdr nil) (caadr l))"), L"(nil nil 2)");
    EXPECT_EQ(evalPrinted(L"(list (length l) (nth 1 l) (nth 9 l) (reverse '(1 2 3)))"),
              L"(4 (2 3) nil (3 2 1))");
    EXPECT_EQ(evalPrinted(L"(append '(1 2) nil '(3) '((4)))"), L"(1 2 3 (4))");
    EXPECT_EQ(evalPrinted(L"(cons 0 '(1 2))"), L"(0 1 2)");
    EXPECT_EQ(evalPrinted(L"(assoc 8 '((0 . \"LINE\") (8 . \"0\") (10 1.0 2.0 0.0)))"),
              L"(8 . \"0\")");
    EXPECT_EQ(evalPrinted(L"(assoc \"b\" '((\"a\" 1) (\"b\" 2)))"), L"(\"b\" 2)");
    EXPECT_EQ(evalPrinted(L"(member \"b\" '(\"a\" \"b\" \"c\"))"), L"(\"b\" \"c\")");
    EXPECT_EQ(evalPrinted(L"(list (eq 'a 'a) (eq \"a\" \"a\") (equal \"a\" \"a\") "
                          L"(equal '(1 (2)) '(1 (2))) (equal 1.0 1.05 0.1) (equal 1.0 1.05))"),
              L"(T nil T T T nil)");
    EXPECT_EQ(evalPrinted(L"(setq s \"x\") (eq s s)"), L"T");
    EXPECT_EQ(evalPrinted(L"(list (atom 1) (atom '(1)) (atom nil) (listp nil) (listp 1) "
                          L"(null nil) (not 1) (numberp 1.5) (numberp \"1\"))"),
              L"(T nil T T nil T nil T nil)");
    EXPECT_EQ(evalPrinted(L"(mapcar 'type (list 1 1.0 \"s\" 'a '(1) car nil))"),
              L"(INT REAL STR SYM LIST SUBR nil)");
    EXPECT_EQ(errorOf(L"(car 1)"), L"bad argument type: consp 1");
    EXPECT_EQ(errorOf(L"(length 'a)"), L"bad argument type: listp A");
    EXPECT_EQ(errorOf(L"(append '(1) 2)"), L"bad argument type: listp 2");
}

TEST_F(LispEval, StringFunctions) {
    EXPECT_EQ(evalPrinted(L"(strcat \"ab\" \"\" \"cd\")"), L"\"abcd\"");
    EXPECT_EQ(evalPrinted(L"(strcat)"), L"\"\"");
    EXPECT_EQ(evalPrinted(L"(list (strlen \"abc\") (strlen \"ab\" \"c\") (strlen))"), L"(3 3 0)");
    EXPECT_EQ(evalPrinted(L"(list (substr \"abcde\" 2 3) (substr \"abcde\" 3) (substr \"ab\" 5))"),
              L"(\"bcd\" \"cde\" \"\")");
    EXPECT_EQ(evalPrinted(L"(list (strcase \"Žluťoučký\") (strcase \"ABC\" t))"),
              L"(\"ŽLUŤOUČKÝ\" \"abc\")");
    EXPECT_EQ(evalPrinted(L"(list (itoa -12) (atoi \"42abc\") (atoi \"x\") (atof \"2.5\"))"),
              L"(\"-12\" 42 0 2.5)");
    EXPECT_EQ(evalPrinted(L"(list (rtos 1.5 2 2) (rtos 2 2 0) (rtos -0.125 2 3))"),
              L"(\"1.50\" \"2\" \"-0.125\")");
    EXPECT_EQ(errorOf(L"(strcat \"a\" 1)"), L"bad argument type: stringp 1");
    EXPECT_EQ(errorOf(L"(itoa 1.5)"), L"bad argument type: fixnump: 1.5");
}

TEST_F(LispEval, ErrorsArePrintedAndEndTheEvaluation) {
    LispRun r = runLisp(L"(setq before 1) (foo 1) (setq after 1)");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.out, L"; error: no function definition: FOO");
    EXPECT_EQ(evalPrinted(L"(list before after)"), L"(1 nil)");
    r = runLisp(L"(progn (princ \"abc\") (+ \"a\"))");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.out, L"abc; error: bad argument type: numberp: \"a\"");
    EXPECT_EQ(runLisp(L"(setq x (1 2)").out, L"; error: malformed list on input");
    EXPECT_EQ(errorOf(L"(1 2)"), L"bad function: 1");
    EXPECT_EQ(errorOf(L"(setq v 5) (v)"), L"bad function: 5");
    EXPECT_EQ(errorOf(L"(exit)"), L"quit / exit abort");
    EXPECT_EQ(errorOf(L"(defun loop (n) (loop (1+ n))) (loop 0)"), L"stack overflow");
    // A user's *error* function gets the message instead of the standard report.
    r = runLisp(L"(defun *error* (msg) (princ (strcat \"[\" msg \"]\"))) (car 'a)");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.out, L"[bad argument type: consp A]");
}

TEST_F(LispEval, BuiltinsRegisteredByOtherPartsAndShadowing) {
    lispRegisterBuiltin(L"test-twice", [](const std::vector<LispValue>& args) {
        lispCheckArgs(args, 1, 1);
        if (!args[0].isInt())
            lispBadArgType(L"fixnump:", args[0]);
        return LispValue::integer(args[0].asInt() * 2);
    });
    EXPECT_EQ(evalPrinted(L"(test-twice 21)"), L"42");
    EXPECT_EQ(evalPrinted(L"(mapcar 'TEST-TWICE '(1 2))"), L"(2 4)");
    EXPECT_EQ(errorOf(L"(test-twice)"), L"too few arguments");
    EXPECT_EQ(errorOf(L"(test-twice \"x\")"), L"bad argument type: fixnump: \"x\"");
    // A document's own definition hides a built-in until the document is forgotten.
    evalPrinted(L"(defun strlen (s) 'mine)");
    EXPECT_EQ(evalPrinted(L"(strlen \"abc\")"), L"MINE");
    lispForgetDocument(currentDocumentKey());
    EXPECT_EQ(evalPrinted(L"(strlen \"abc\")"), L"3");
}

TEST_F(LispEval, FunctionsNamedAsCommands) {
    evalPrinted(L"(defun c:hello () (princ \"\\nHello\") (princ))"
                L"(defun c:seven () 7)"
                L"(defun c:broken () (car 1))");
    EXPECT_TRUE(lispHasCommand(L"hello"));
    EXPECT_TRUE(lispHasCommand(L"SEVEN"));
    EXPECT_FALSE(lispHasCommand(L"nothing"));
    hostTranscript().startCapture();
    EXPECT_TRUE(lispRunCommand(L"Hello"));
    EXPECT_EQ(hostTranscript().takeCaptured(), L"\nHello");
    EXPECT_TRUE(lispRunCommand(L"seven"));
    EXPECT_EQ(hostTranscript().takeCaptured(), L"7");
    EXPECT_FALSE(lispRunCommand(L"broken"));
    EXPECT_EQ(hostTranscript().takeCaptured(), L"; error: bad argument type: consp 1");
    EXPECT_FALSE(lispRunCommand(L"nothing"));
    EXPECT_EQ(hostTranscript().takeCaptured(), L"");
    hostTranscript().stopCapture();
    EXPECT_EQ(evalPrinted(L"(c:seven)"), L"7");
}
